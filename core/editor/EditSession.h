#pragma once
// The stage editor without its window: the stage being edited, the bar showing its start, the
// two cameras, the current tool and line kind, the files it loads and saves, and the undo
// history. The editor scene feeds it a frame's input and draws what it holds.
#include "core/base/FileAccess.h"
#include "core/editor/EditHistory.h"
#include "core/editor/EditTools.h"
#include "core/game/Bar.h"
#include "core/stage/Camera.h"
#include "core/stage/Stage.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// What a paste put into the stage: the copied points and lines that fit into its tables.
struct PasteResult {
    int points = 0;
    int lines = 0;
    bool complete = true; // false when a table filled up before everything was in
};

class EditSession {
public:
    // Loads `loadPath` (or starts from the cleared stage when it is empty, or cannot be read:
    // then openError says why); saves go to `savePath`.
    EditSession(std::string savePath, std::string loadPath);

    // The camera of the current tool: SETTING has its own, which becomes the stage's start camera.
    Camera& camera() { return mode == SETTING ? settingCamera : editCamera; }
    const Camera& camera() const { return mode == SETTING ? settingCamera : editCamera; }

    // One frame of the tools under `cam`. Over the tool bar no tool acts, but a drag that ends
    // there still ends (and becomes one undo step).
    void applyTool(const MouseState& pointer, const Camera& cam, bool overToolBar);
    // The point within 10 view units of the cursor, or -1.
    int pickedPoint(const MouseState& pointer, const Camera& cam) const;
    // The last frame's pointer as the tools saw it: a button pressed over the tool bar, or any
    // button while the cursor is over it, reads as up. Previews are drawn from this.
    const MouseState& toolPointer() const { return toolPointer_; }
    // GridStep while snapping is on, else 0.
    float grid() const { return snapping ? GridStep : 0.0f; }

    static void pan(Camera& cam, const MouseState& pointer);
    // Each step scales by 0.9 (positive, closer) or 1.1; clamped to 0.1 - 5. False for no steps.
    static bool zoom(Camera& cam, int steps);
    // Zooms and pans the current camera so every point and the bar at the start fit in the part
    // of the view the tool bar and help line leave free (within the zoom limits).
    void fitView();

    // The selection commands of MOVE. None acts while a drag is open. Selecting and copying
    // change nothing that is saved; a delete or paste that changes the stage is one undo step.
    void selectAll();
    // The selected points with their lines; how many points went.
    int deleteSelected();
    // Keeps the selected points and the lines between them; how many points were copied.
    int copySelection();
    // The copied points one grid step further down and right than the last paste, selected
    // alone; only what fits into the stage's tables.
    PasteResult paste();

    // What every tool-bar command does first: drop the active point and copy the start pose
    // and start camera into the stage.
    void beginCommand();
    void toggleKind() { kind = kind == WALL ? GOAL : WALL; }
    // Writes the stage to savePath; only a successful save changes loadPath.
    bool save(std::error_code* error);
    bool saveTestStage(const std::string& path, std::error_code* error);
    // Reads loadPath again (the cleared stage when there is none yet); one undo step. A file
    // that cannot be read leaves the stage as it is.
    bool load(std::error_code* error = nullptr);
    // False when the text leaves the value as it was (empty, or not a number).
    bool setTitle(std::u16string_view typed);
    bool setTimeLimit(std::u16string_view typed);
    // Not while a drag is open.
    bool undo();
    bool redo();
    // The stage differs from what was last loaded or saved, or from what is on the disk: a stage
    // whose file could not be read counts as differing until it is saved or read.
    bool modified() const;
    bool hasCopy() const { return !copiedPoints_.empty(); }
    // What SAVE would replace is not the file this session last read or wrote: another program
    // changed (or made) it since, or it could not be read. SAVE should ask first.
    enum class DiskState { AsRead, Changed, Unreadable };
    DiskState savedFileState() const;

    const EditHistory& history() const { return history_; }

    EditTool mode = PUT;
    bool snapping = false;
    std::int32_t kind = WALL;
    int activePoint = -1;
    std::string loadPath;
    std::string savePath;
    std::error_code openError;
    Stage stage;
    Bar bar;
    Camera settingCamera = DefaultCamera;
    Camera editCamera = DefaultCamera;

private:
    // loadPath's stage (the cleared one when there is none), which is then the unchanged state;
    // false, with the stage untouched, when the file cannot be read.
    bool readLoadPath(std::error_code* error);
    void startFrom(Stage read);
    // The bar and the setting camera from the stage, as after loading.
    void takeStartFromStage();
    // The bar at the stage's start; no point active.
    void showStartOfStage();
    void finishAction();
    void recordIfChanged(const Stage& before);
    void stampSavePath() { savePathStamp_ = fileStamp(savePath); }

    EditHistory history_;
    Stage baseline_;                         // as last loaded or saved
    std::optional<FileStamp> savePathStamp_; // savePath as last read or written (nullopt: none there)
    bool unreadable_ = false;                // savePath's file could not be read when opened
    Stage actionStart_;                      // before the press that opened the current drag
    bool actionOpen_ = false;
    std::array<bool, 2> pressSeen_{}; // the tools saw the press of the button now held
    MouseState toolPointer_;
    Vec2 dragOffset_;
    std::vector<Vec2> copiedPoints_;
    std::vector<Segment> copiedLines_; // ends are indices into copiedPoints_
    int pastes_ = 0;                   // since the last copy: each paste lands a step further
};
