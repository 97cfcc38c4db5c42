#include "core/editor/EditSession.h"

#include "core/base/Color.h"
#include "core/editor/EditText.h"
#include "core/game/GameConstants.h"
#include "core/game/ShippedTitles.h"
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"
#include "core/stage/StageTitle.h"

#include <algorithm>
#include <utility>

EditSession::EditSession(std::string savePath_, std::string loadPath_)
    : loadPath(std::move(loadPath_)), savePath(std::move(savePath_)),
      bar({}, BarLength, Colors::White, Colors::Red, Angle(0.0f)) {
    stampSavePath();
    if (!readLoadPath(&openError)) {
        startFrom(Stage{});
        unreadable_ = loadPath == savePath;
    } else if (!loadPath.empty() && loadPath != savePath && !isInWorkingFolder(loadPath)) {
        fitView(); // a shipped stage's copy opens with the whole stage in sight
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
        // A shipped stage's copy starts with its title in the player's language.
        if (loadPath != savePath && !isInWorkingFolder(loadPath))
            read.title = storableTitle(shippedStageTitle(read.title));
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
    // Stored as the view will use it, so that opening the stage does not count as a change.
    stage.startCamera.zoom = sanitizedZoom(stage.startCamera.zoom);
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

int EditSession::pickedPoint(const MouseState& pointer, const Camera& cam) const {
    return stage.pickPoint(screenToWorld(pointer.cursor, cam), cam.zoom);
}

void EditSession::applyTool(const MouseState& pointer, const Camera& cam, bool overToolBar) {
    MouseState seen = pointer;
    for (int b : {MouseLeft, MouseRight}) {
        if (pointer.Pressed(b)) pressSeen_[std::size_t(b)] = !overToolBar;
        // A button pressed over the tool bar (on a button, most likely) and slid onto the stage
        // is no drag of the tool's: it would move the selection or delete lines on its way.
        if (!pressSeen_[std::size_t(b)])
            seen.down[std::size_t(b)] = seen.previousDown[std::size_t(b)] = false;
        if (!pointer.Held(b)) pressSeen_[std::size_t(b)] = false;
    }
    if (!overToolBar) {
        if (!actionOpen_ && (seen.Pressed(MouseLeft) || seen.Pressed(MouseRight))) {
            actionStart_ = stage;
            actionOpen_ = true;
        }
        ToolContext context{stage,  bar,        activePoint, kind, seen, cam, pickedPoint(seen, cam),
                            grid(), dragOffset_};
        runTool(toolFor(mode), context);
    }
    if (actionOpen_ && !seen.Held(MouseLeft) && !seen.Held(MouseRight)) finishAction();
    toolPointer_ = seen;
    if (overToolBar) // no tool acts there, so no preview may promise that one will
        toolPointer_.down = toolPointer_.previousDown = {};
}

void EditSession::finishAction() {
    if (!actionOpen_) return;
    actionOpen_ = false;
    recordIfChanged(actionStart_);
}

void EditSession::recordIfChanged(const Stage& before) {
    if (!sameStageContent(before, stage)) history_.record(before);
}

void EditSession::pan(Camera& cam, const MouseState& pointer) {
    if (!pointer.Held(MouseMiddle)) return;
    const Vec2 m = pointer.Motion();
    cam.x -= m.x * cam.zoom;
    cam.y -= m.y * cam.zoom;
}

bool EditSession::zoom(Camera& cam, int steps) {
    if (steps == 0) return false;
    float z = (1.0f - 0.1f * float(steps)) * cam.zoom;
    if (z <= MinCameraZoom)
        z = MinCameraZoom;
    else if (z >= MaxCameraZoom)
        z = MaxCameraZoom;
    cam.zoom = z;
    return true;
}

void EditSession::fitView() {
    // The bar turns about its start, so its whole circle counts.
    Rect box(stage.initialPivot.x - BarLength, stage.initialPivot.y - BarLength,
             stage.initialPivot.x + BarLength, stage.initialPivot.y + BarLength);
    for (int i = 0; i < MaxPoints; ++i) {
        if (!stage.holdsPoint(i)) continue;
        const Vec2 p = stage.points[i];
        box = Rect(std::min(box.left, p.x), std::min(box.bottom, p.y), std::max(box.right, p.x),
                   std::max(box.top, p.y));
    }
    // View units between the tool bar (from y 200) and the help line (up to y -280), with a margin.
    const Rect free(-380.0f, -270.0f, 380.0f, 190.0f);
    Camera& cam = camera();
    cam.zoom = std::clamp(std::max((box.right - box.left) / (free.right - free.left),
                                   (box.top - box.bottom) / (free.top - free.bottom)),
                          MinCameraZoom, MaxCameraZoom);
    // Halved before the sum: a stage near the float limit would otherwise centre the view at
    // infinity, where every click would place a point no file can hold.
    cam.x = box.left * 0.5f + box.right * 0.5f - free.centerX * cam.zoom;
    cam.y = box.bottom * 0.5f + box.top * 0.5f - free.centerY * cam.zoom;
}

void EditSession::selectAll() {
    if (actionOpen_) return;
    for (PointState& s : stage.pointState)
        if (s == PointState::Placed) s = PointState::Selected;
}

int EditSession::deleteSelected() {
    if (actionOpen_) return 0;
    const Stage before = stage;
    int deleted = 0;
    for (int i = 0; i < MaxPoints; ++i) {
        if (stage.pointState[i] != PointState::Selected) continue;
        stage.deletePoint(i);
        ++deleted;
    }
    activePoint = -1;
    recordIfChanged(before);
    return deleted;
}

int EditSession::copySelection() {
    if (actionOpen_) return 0;
    std::array<int, MaxPoints> copyIndex;
    copyIndex.fill(-1);
    std::vector<Vec2> points;
    for (int i = 0; i < MaxPoints; ++i) {
        if (stage.pointState[i] != PointState::Selected) continue;
        copyIndex[std::size_t(i)] = int(points.size());
        points.push_back(stage.points[i]);
    }
    if (points.empty()) return 0; // an empty copy would leave nothing to paste: keep the last one
    copiedLines_.clear();
    for (const Segment& s : stage.segments) {
        if (s.kind != WALL && s.kind != GOAL) continue;
        const int low = copyIndex[s.low], high = copyIndex[s.high];
        if (low >= 0 && high >= 0) copiedLines_.push_back({std::uint16_t(low), std::uint16_t(high), s.kind});
    }
    copiedPoints_ = std::move(points);
    pastes_ = 0;
    return int(copiedPoints_.size());
}

PasteResult EditSession::paste() {
    PasteResult result;
    if (actionOpen_ || copiedPoints_.empty()) return result;
    if (stage.freePoints.empty()) return {0, 0, false}; // nothing would fit: keep the selection
    const Stage before = stage;
    for (PointState& s : stage.pointState)
        if (s == PointState::Selected) s = PointState::Placed;
    ++pastes_;
    const Vec2 shift{GridStep * float(pastes_), -GridStep * float(pastes_)};
    std::vector<int> slot(copiedPoints_.size(), -1);
    for (std::size_t k = 0; k < copiedPoints_.size(); ++k) {
        slot[k] = stage.addPoint(copiedPoints_[k] + shift);
        if (slot[k] < 0) {
            result.complete = false;
            break;
        }
        stage.pointState[slot[k]] = PointState::Selected;
        ++result.points;
    }
    for (const Segment& s : copiedLines_) {
        if (slot[s.low] < 0 || slot[s.high] < 0) continue; // an end that did not fit
        if (stage.addSegment(slot[s.low], slot[s.high], s.kind) < 0) {
            result.complete = false;
            break;
        }
        ++result.lines;
    }
    activePoint = -1;
    recordIfChanged(before);
    return result;
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
