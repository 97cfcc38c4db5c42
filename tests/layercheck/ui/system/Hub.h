#pragma once
// Not compiled: see render/Picture.cpp.
#include "render/Picture.h"
