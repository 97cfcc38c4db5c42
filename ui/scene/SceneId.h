#pragma once

namespace SceneId {
enum : int {
    CrossHatch = 0,
    Title = 1,
    Demo = 2,
    GameMain = 3,
    EditMenu = 4,
    Edit = 5,
    Options = 6,
    StageSelect = 7
};
}
inline constexpr int SceneIdCount = 8;
