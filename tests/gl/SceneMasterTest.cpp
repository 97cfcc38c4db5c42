#include "tests/gl/GlTestSupport.h"

#include "tests/support/FakeClock.h"
#include "tests/support/Synthetic.h"
#include "ui/scene/SceneMaster.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<std::string> events;

// A scene that logs what happens to it and runs a scripted request on a chosen update.
class Probe : public Lib::Scene::SceneBase {
public:
    Probe(std::string name, SceneMaster& master) : name_(std::move(name)), master_(master) {}
    ~Probe() override { events.push_back(name_ + ":deleted"); }
    void Update() override {
        events.push_back(name_ + ":update");
        if (onUpdate) {
            auto action = std::move(onUpdate);
            onUpdate = nullptr;
            action(master_);
        }
    }
    void Draw() const override { events.push_back(name_ + ":draw"); }

    std::function<void(SceneMaster&)> onUpdate;

private:
    std::string name_;
    SceneMaster& master_;
};

class SceneFlow : public ::testing::Test {
protected:
    void SetUp() override {
        events.clear();
        master.InstallScenes(
            tableOfEveryId([](SceneMaster& m, int id) -> std::unique_ptr<Lib::Scene::SceneBase> {
                return std::make_unique<Probe>("scene" + std::to_string(id), m);
            }));
        first = pushOnto<Probe>(master, "first", master);
        master.RunFrame(); // frame 0 is never drawn
        events.clear();
    }

    FakeClock clock;
    SceneMaster master{*TheGameSystem, clock.clock()};
    Probe* first = nullptr;
};
} // namespace

TEST_F(SceneFlow, AChangeTakesEffectNextFrameAfterTheOldSceneIsDrawnOnceMore) {
    first->onUpdate = [](SceneMaster& m) { m.ChangeScene(SceneId::Title); };
    master.RunFrame();
    EXPECT_EQ(events, (std::vector<std::string>{"first:update", "first:draw", "first:deleted"}));
    events.clear();
    master.RunFrame();
    EXPECT_EQ(events, (std::vector<std::string>{"scene1:update", "scene1:draw"}));
}

TEST_F(SceneFlow, PushKeepsTheSceneBelowAndPopReturnsToIt) {
    first->onUpdate = [](SceneMaster& m) { m.PushScene(SceneId::Demo); };
    std::vector<KeyPress>& typed = TheGameSystem->keyState.presses; // the arrow is the new scene's
    typed = {{platform::Key::Return, false, false}, {platform::Key::Right, false, false}};
    master.RunFrame();
    EXPECT_EQ(master.Depth(), 2u);
    TheGameSystem->TakeInput({});
    ASSERT_EQ(typed.size(), 1u);
    EXPECT_EQ(std::exchange(typed, {})[0].key, platform::Key::Right);
    auto* top = static_cast<Probe*>(master.Top());
    top->onUpdate = [](SceneMaster& m) { m.PopScene(); };
    events.clear();
    master.RunFrame();
    EXPECT_EQ(events, (std::vector<std::string>{"scene2:update", "scene2:draw", "scene2:deleted"}));
    EXPECT_EQ(master.Top(), first);
}

TEST_F(SceneFlow, SeveralRequestsActInOrder) {
    first->onUpdate = [](SceneMaster& m) {
        m.PushScene(SceneId::Demo);
        m.ChangeScene(SceneId::GameMain); // replaces the demo just pushed
        m.PushScene(SceneId::Title);
    };
    master.RunFrame();
    EXPECT_EQ(master.Depth(), 3u);
    EXPECT_EQ(events.back(), "scene2:deleted");
    events.clear();
    master.RunFrame();
    EXPECT_EQ(events.front(), "scene1:update");
}

TEST_F(SceneFlow, ARequestThatYieldsNoSceneNeverPutsANullOnTheStack) {
    first->onUpdate = [](SceneMaster& m) {
        m.PushScene(99);
        m.ChangeScene(42);
    };
    master.RunFrame();
    EXPECT_EQ(master.Depth(), 1u);
    EXPECT_EQ(master.Top(), first);
    EXPECT_EQ(master.CreateScene(-1), nullptr);
    EXPECT_EQ(master.CreateScene(SceneIdCount), nullptr);
    SceneMaster plain{*TheGameSystem}; // no table installed: no id makes a scene
    EXPECT_EQ(plain.CreateScene(SceneId::Title), nullptr);
}

TEST_F(SceneFlow, InactiveWindowIsDrawnButNotUpdatedAndDropsNoSceneTakesAreRefusedAtOnce) {
    TheGameSystem->active = false;
    TheGameSystem->pendingDrops.assign(3, "stage1");
    platform::pushKeyPress(platform::Key::Return); // for the one box that says where they would go
    for (int i = 0; i < 5; ++i)
        master.RunFrame();
    TheGameSystem->active = true;
    EXPECT_FALSE(keyStillQueued());
    EXPECT_TRUE(TheGameSystem->pendingDrops.empty());
    EXPECT_EQ(events, std::vector<std::string>(5, "first:draw"));
}
