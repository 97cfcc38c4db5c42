#pragma once
// Not compiled: see Picture.cpp.
#include "stage/Names.h"
