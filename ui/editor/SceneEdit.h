#pragma once
// The stage editor's screen: routes the mouse to the session's tools and the tool bar, runs
// the tool-bar commands (which need boxes, sounds and scene changes), and draws.
#include "core/editor/EditSession.h"
#include "core/editor/StageCheck.h"
#include "ui/editor/EditToolBar.h"
#include "ui/render/StageMesh.h"
#include "ui/scene/FrameContext.h"
#include "ui/scene/SceneBase.h"

#include <memory>
#include <string>

class SceneMaster;
struct GameSession;

class SceneEdit : public Lib::Scene::SceneBase {
public:
    // `loadPath` empty: a new stage.
    SceneEdit(SceneMaster* master, GameSession& game, const std::string& savePath,
              const std::string& loadPath);
    void Update() override;
    void Draw() const override;
    bool HoldsUnsavedWork() const override { return session_.modified(); }
    bool TakeEscape() override; // stops a running stage check

    int HoverButton() const { return hoverButton_; }
    EditSession& Session() { return session_; }
    const EditToolBar& ToolBar() const { return toolBar_; }
    const StageCheck& Check() const { return check_; }
    const TextLabel& CheckLabel() const { return *checkLabel_; }
    const TextLabel& CheckDetailLabel() const { return *checkDetailLabel_; }

private:
    void ShowCheckText(std::u16string_view text);
    void RunShortcuts();
    void RunKeys();
    void Paste();
    void RunCommand(int area);
    void Save();
    // Ctrl+Shift+S: the stage as a link on the clipboard. False where that cannot be (the desktop).
    bool CopyLink();
    void Load();
    void Test();
    void Exit();
    void AskTitle();
    void AskTimeLimit();
    void ShowStageTexts();
    // The stage file could not be written (or read): says where and why.
    void ReportFileFailure(const std::string& path, const std::error_code& error, bool writing);
    void DrawToolOverlay(const MouseState& p, const Camera& cam) const;
    // Faint lines every grid step, or every fifth (25th...) one where they would crowd.
    static void DrawGrid(const Camera& cam);
    // F5 starts the check, any edit drops it; the line above the help shows where it is.
    void UpdateCheck();

    SceneMaster* master_;
    const FrameContext& context_;
    GameSession& game_; // the test play's settings
    EditSession session_;
    EditToolBar toolBar_;
    StageMesh mesh_;
    int hoverButton_ = -1;
    StageCheck check_;
    std::unique_ptr<TextLabel> checkLabel_;
    std::unique_ptr<TextLabel> checkDetailLabel_;
};
