#pragma once
// Shared by the GL tests: the one GameSystem (a real window under Xvfb), pixel read-back and
// scripted input written into the input records the way the idle turn's poll writes them.
#include "core/base/Color.h"
#include "core/stage/Geometry.h"
#include "ui/render/TextLabel.h"
#include "ui/scene/SceneMaster.h"
#include "ui/sound/Sound.h"
#include "ui/system/GameSystem.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

// The back buffer's pixel at a view point under the default camera (800 x 600 window).
inline std::array<int, 4> pixelAt(Vec2 view) {
    std::uint8_t p[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(int(view.x + 400.0f), int(view.y + 300.0f), 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}

// Per channel within a tolerance: software renderers round a little differently.
inline bool looksLike(const std::array<int, 4>& pixel, Color32 c, int tolerance = 3) {
    return std::abs(pixel[0] - colorRed(c)) <= tolerance && std::abs(pixel[1] - colorGreen(c)) <= tolerance &&
           std::abs(pixel[2] - colorBlue(c)) <= tolerance;
}

// Where a pointer lands on a label, as last laid out.
inline Vec2 centre(const TextLabel& l) {
    return {l.Bounds().centerX, l.Bounds().centerY};
}

// One turn of scripted input: what is held now, and where the cursor is.
inline void inputTurn(bool left = false, bool right = false, bool middle = false, Vec2 cursor = {}) {
    MouseState& m = TheGameSystem->mouseState;
    const bool held[3] = {left, right, middle};
    m.previousCursor = m.cursor;
    m.cursor = cursor;
    for (int b = 0; b < 3; ++b) {
        m.previousDown[b] = m.down[b];
        m.down[b] = held[b];
        if (m.down[b] && !m.previousDown[b]) m.pressPosition[b] = cursor;
    }
}

// True when a key press pushed before is still waiting: no box was there to take it.
inline bool keyStillQueued() {
    bool found = false;
    platform::Event e;
    while (platform::pollEvent(e))
        found = found || e.kind == platform::EventKind::KeyDown;
    return found;
}

// A fresh working folder for the test, so best runs and edited stages never leak between tests.
void useFreshWorkingFolder();
std::string testDataFolder(); // a temporary folder for stage files the test writes

// A scene table whose every row asks `create (master, id)`, so a test sees each request.
template <typename F> SceneTable tableOfEveryId(F create) {
    SceneTable table;
    for (int id = 0; id < SceneIdCount; ++id)
        table[std::size_t(id)] = [create, id](SceneMaster& m) { return create(m, id); };
    return table;
}

// Puts a scene made here on the master's stack; the master owns it, the test keeps a look.
template <typename S, typename... Args> S* pushOnto(SceneMaster& master, Args&&... args) {
    auto scene = std::make_unique<S>(std::forward<Args>(args)...);
    S* seen = scene.get();
    master.PushCreated(std::move(scene));
    return seen;
}

// What every scene test starts from: a fresh working folder, no sound played, no music, no key
// or button held for two turns, and a master whose requested scenes are only recorded.
class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        useFreshWorkingFolder();
        resetSoundCounts();
        stopMusic();
        master.InstallScenes(
            tableOfEveryId([this](SceneMaster&, int id) -> std::unique_ptr<Lib::Scene::SceneBase> {
                requested.push_back(id);
                return nullptr;
            }));
        inputTurn();
        inputTurn();
    }
    // As the master draws a frame: the default view.
    static void draw(const Lib::Scene::SceneBase* s) {
        TheGameSystem->cameraStack.ResetView();
        s->Draw();
    }

    SceneMaster master{*TheGameSystem};
    GameSession& session = master.Session();
    std::vector<int> requested;
};
