#pragma once
// Not compiled: see render/Picture.cpp.
#include "ui/render/Picture.h"
