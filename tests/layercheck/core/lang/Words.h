#pragma once
// Not compiled: see stage/Names.h.
#include "core/stage/Names.h"
