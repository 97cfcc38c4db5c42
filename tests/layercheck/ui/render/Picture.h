#pragma once
// Not compiled: see Picture.cpp.
#include "core/stage/Names.h"
