#pragma once
// Not compiled: see CoreFile.cpp.
#include "render/Draw.h"
#include "scene/SceneBase.h"
#include "stage/Color.h"
#include <SDL2/SDL.h>
