#pragma once
// The options screen, from the title: music and sound volume, full screen on start, the
// language, the online records and their server's address. Each change is heard or seen at once;
// the choices are kept in the settings file when the player goes back (or the game ends here).
#include "core/settings/Settings.h"
#include "ui/render/TextLabel.h"
#include "ui/scene/FrameContext.h"
#include "ui/scene/SceneBase.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class SceneMaster;

class SceneOptions : public Lib::Scene::SceneBase {
public:
    // The six setting rows (SettingRow), then Back.
    static constexpr int Back = 6;
    static constexpr int RowCount = 7;

    explicit SceneOptions(SceneMaster* master);
    ~SceneOptions() override;
    void Update() override;
    void Draw() const override;

    // The lit row: the keys' while they lead, else the one under the pointer; -1 for none.
    int Hovered() const { return hot_; }
    const Settings& Chosen() const { return settings_; }
    const TextLabel& Value(int row) const { return *values_[std::size_t(row)]; }
    static Rect RowBox(int row);

private:
    void MakeLabels();
    void ShowValues();
    void Step(int row, int step, bool wrap);
    void EditServer(); // the address is typed in a box; a page has its own and shows it
    void Leave();
    bool Keep(); // saves when something changed; false when that failed

    SceneMaster* master_;
    const FrameContext& context_;
    Settings settings_;
    Settings kept_; // as last kept: what this copy has changed since is written back
    bool changed_ = false;
    int hot_ = 0;
    int keyed_ = 0; // the row the keys lit (the first on arrival); -1 once the pointer moves
    int viewWidth_ = 0, viewHeight_ = 0;
    std::vector<std::string> languages_;
    std::unique_ptr<TextLabel> heading_, hint_;
    std::array<std::unique_ptr<TextLabel>, RowCount> names_;
    std::array<std::unique_ptr<TextLabel>, RowCount - 1> values_;
};
