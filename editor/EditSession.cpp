#include "editor/EditSession.h"

#include "editor/EditText.h"
#include "game/GameConstants.h"
#include "render/Color.h"
#include "stage/StageFile.h"

#include <utility>

EditSession::EditSession(std::string savePath_, std::string loadPath_)
    : loadPath(std::move(loadPath_)), savePath(std::move(savePath_)),
      bar({}, BarLength, Colors::White, Colors::Red, Angle(0.0f)) {
    stampSavePath();
    if (!readLoadPath(&openError)) {
        startFrom(Stage{});
        unreadable_ = loadPath == savePath;
    }
}

bool EditSession::readLoadPath(std::error_code* error) {
    Stage read;
    if (!loadPath.empty()) {
        std::error_code ec;
        loadStage(loadPath, read, &ec);
        if (ec) {
            if (error) *error = ec;
            return false;
        }
    }
    startFrom(std::move(read));
    return true;
}

void EditSession::startFrom(Stage read) {
    stage = std::move(read);
    takeStartFromStage();
    baseline_ = stage;
}

void EditSession::takeStartFromStage() {
    settingCamera = stage.startCamera;
    showStartOfStage();
}

void EditSession::showStartOfStage() {
    bar.reset(stage.initialPivot, stage.initialAngle);
    // Stored wrapped at once, as every command would store it, so that merely opening a stage
    // with an unwrapped angle does not count as a change.
    stage.initialAngle = bar.angle().value();
    activePoint = -1;
}

int EditSession::pickedPoint(const Pointer& pointer, const Camera& cam) const {
    return stage.pickPoint(screenToWorld(pointer.cursor, cam), cam.zoom);
}

void EditSession::applyTool(const Pointer& pointer, const Camera& cam, bool overToolBar) {
    Pointer seen = pointer;
    for (int b : {PointerLeft, PointerRight}) {
        if (pointer.pressed(b)) pressSeen_[std::size_t(b)] = !overToolBar;
        // A button pressed over the tool bar (on a button, most likely) and slid onto the stage
        // is no drag of the tool's: it would move the selection or delete lines on its way.
        if (!pressSeen_[std::size_t(b)])
            seen.down[std::size_t(b)] = seen.previousDown[std::size_t(b)] = false;
        if (!pointer.held(b)) pressSeen_[std::size_t(b)] = false;
    }
    if (!overToolBar) {
        if (!actionOpen_ && (seen.pressed(PointerLeft) || seen.pressed(PointerRight))) {
            actionStart_ = stage;
            actionOpen_ = true;
        }
        ToolContext context{stage, bar, activePoint, kind, seen, cam, pickedPoint(seen, cam)};
        runTool(toolFor(mode), context);
    }
    if (actionOpen_ && !seen.held(PointerLeft) && !seen.held(PointerRight)) finishAction();
}

void EditSession::finishAction() {
    if (!actionOpen_) return;
    actionOpen_ = false;
    recordIfChanged(actionStart_);
}

void EditSession::recordIfChanged(const Stage& before) {
    if (!sameStageContent(before, stage)) history_.record(before);
}

void EditSession::pan(Camera& cam, const Pointer& pointer) {
    if (!pointer.held(PointerMiddle)) return;
    const Vec2 m = pointer.motion();
    cam.x -= m.x * cam.zoom;
    cam.y -= m.y * cam.zoom;
}

bool EditSession::zoom(Camera& cam, int steps) {
    if (steps == 0) return false;
    float z = (1.0f - 0.1f * float(steps)) * cam.zoom;
    if (z <= MinZoom)
        z = MinZoom;
    else if (z >= MaxZoom)
        z = MaxZoom;
    cam.zoom = z;
    return true;
}

void EditSession::beginCommand() {
    activePoint = -1;
    stage.initialPivot = bar.pivot();
    stage.initialAngle = bar.angle().value();
    stage.startCamera = settingCamera;
}

bool EditSession::save(std::error_code* error) {
    if (!saveStage(savePath, stage, error)) return false;
    loadPath = savePath;
    baseline_ = stage;
    unreadable_ = false;
    stampSavePath();
    return true;
}

EditSession::DiskState EditSession::savedFileState() const {
    if (unreadable_) return DiskState::Unreadable;
    return fileStamp(savePath) == savePathStamp_ ? DiskState::AsRead : DiskState::Changed;
}

bool EditSession::saveTestStage(const std::string& path, std::error_code* error) {
    return saveStage(path, stage, error);
}

bool EditSession::load(std::error_code* error) {
    finishAction();
    const Stage before = stage;
    const std::optional<FileStamp> stamp = fileStamp(loadPath);
    if (!readLoadPath(error)) return false;
    if (loadPath == savePath) {
        savePathStamp_ = stamp;
        unreadable_ = false;
    }
    recordIfChanged(before);
    return true;
}

bool EditSession::setTitle(std::u16string_view typed) {
    std::u16string title = storableTitle(typed);
    if (title.empty()) return false;
    finishAction();
    const Stage before = stage;
    stage.title = std::move(title);
    recordIfChanged(before);
    return true;
}

bool EditSession::setTimeLimit(std::u16string_view typed) {
    const std::optional<std::int32_t> limit = parseTimeLimit(typed);
    if (!limit) return false;
    finishAction();
    const Stage before = stage;
    stage.timeLimit = *limit;
    recordIfChanged(before);
    return true;
}

bool EditSession::undo() {
    // Mid-drag the tool still holds on to what it grabbed; the step ends with the drag.
    if (actionOpen_) return false;
    if (!history_.undo(stage)) return false;
    showStartOfStage(); // the view stays where the player has it
    return true;
}

bool EditSession::redo() {
    if (actionOpen_) return false;
    if (!history_.redo(stage)) return false;
    showStartOfStage();
    return true;
}

bool EditSession::modified() const {
    return unreadable_ || !sameStageContent(stage, baseline_);
}
