#pragma once
// Not compiled: see stage/Names.h.
#include "stage/Names.h"
