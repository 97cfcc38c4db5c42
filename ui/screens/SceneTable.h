#pragma once
// Which scene each SceneId makes. The master knows only SceneBase; adding a scene is one row.
#include "ui/scene/SceneMaster.h"

SceneTable GameSceneTable();
