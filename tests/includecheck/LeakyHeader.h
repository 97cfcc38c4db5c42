#pragma once
// Not compiled: see CoreFile.cpp.
#include "render/Color.h"
#include "render/Draw.h"
#include <SDL2/SDL.h>
#include "scene/SceneBase.h"
