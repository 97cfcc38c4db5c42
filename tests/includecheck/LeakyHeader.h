#pragma once
// Not compiled: see CoreFile.cpp.
#include "core/base/Color.h"
#include "ui/render/Draw.h"
#include "ui/scene/SceneBase.h"
#include <SDL2/SDL.h>
