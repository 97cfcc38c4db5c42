#pragma once
// Not compiled: see CoreFile.cpp.
#include "render/Color.h"
#include "render/Draw.h"
#include "scene/SceneBase.h"
#include <SDL2/SDL.h>
