#include "ui/editor/SceneEdit.h"

#include "core/base/Utf.h"
#include "core/editor/EditText.h"
#include "core/editor/GridLines.h"
#include "core/editor/StageCheckText.h"
#include "core/game/HeadsUpBand.h"
#include "core/lang/Translate.h"
#include "core/play/GameSession.h"
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"
#include "core/stage/StageTitle.h"
#include "core/stage/View.h"
#include "ui/render/BarDraw.h"
#include "ui/render/Draw.h"
#include "ui/scene/SceneMaster.h"
#include "ui/sound/Sound.h"
#include "ui/system/InputBox.h"
#include "ui/system/MessageBox.h"
#include "ui/system/ModalDialog.h"

#include <cmath>
#include <filesystem>
#include <vector>

namespace {
constexpr Color32 HoverPointColor = makeColor(255, 0, 0, 255);
constexpr Color32 RubberBandColor = makeColor(255, 255, 0, 255);
constexpr Color32 SelectionColor = makeColor(128, 128, 0, 128);
constexpr Color32 StrokeColor = makeColor(128, 128, 128, 255);
constexpr Color32 GridColor = makeColor(40, 40, 48, 255);
constexpr Color32 BandColor = makeColor(0, 160, 255, 255);
constexpr float MinGridSpacing = 6.0f;    // view units between drawn grid lines
constexpr std::size_t PathLineUnits = 40; // what the message box shows on one line
// A title typed in full must also be one the stage file keeps whole.
static_assert(Lib::System::CInputBox::MaxUnits == MaxTitleUnits);
// A row above the help line: the cursor readout shares the help line's upper row on the right.
constexpr LabelDesc CheckLabelDesc{u"", -392.0f, -232.0f, 0.5f, TextAlign::Left};
constexpr LabelDesc CheckDetailLabelDesc{u"", -392.0f, -250.0f, 0.5f,
                                         TextAlign::Left}; // above the pointer's coordinates
constexpr Color32 CheckColor = makeColor(128, 255, 128, 255);
} // namespace

SceneEdit::SceneEdit(SceneMaster* master, GameSession& game, const std::string& savePath,
                     const std::string& loadPath)
    : master_(master), context_(master->Context()), game_(game), session_(savePath, loadPath),
      toolBar_(context_.glyphs) {
    toolBar_.SetKind(session_.kind);
    ShowStageTexts();
    toolBar_.SetZoom(session_.camera().zoom);
    toolBar_.SetHelp(session_.mode);
    checkLabel_ = CreateLabel(context_.glyphs, CheckLabelDesc);
    checkDetailLabel_ = CreateLabel(context_.glyphs, CheckDetailLabelDesc);
    ShowCheckText(stageCheckText(check_));
}

// The answer's first line says whether and how well; its details go on the line below, so
// neither runs off the screen.
void SceneEdit::ShowCheckText(std::u16string_view text) {
    const std::size_t newline = text.find(u'\n');
    const std::u16string_view head = text.substr(0, newline);
    const std::u16string_view detail =
        newline == text.npos ? std::u16string_view{} : text.substr(newline + 1);
    if (checkLabel_->Text() != head) checkLabel_->SetText(head);
    if (checkDetailLabel_->Text() != detail) checkDetailLabel_->SetText(detail);
}

bool SceneEdit::TakeEscape() {
    if (!check_.running()) return false;
    check_.clear();
    return true;
}

void SceneEdit::UpdateCheck() {
    if (!check_.idle() && !sameStageContent(check_.stage(), session_.stage)) check_.clear();
    if (context_.keys.Typed(platform::Key::F5)) check_.start(session_.stage);
    ShowCheckText(stageCheckText(check_));
}

void SceneEdit::Update() {
    if (session_.openError) { // the player expected that stage, not an empty one
        ReportFileFailure(session_.loadPath, session_.openError, false);
        session_.openError.clear();
    }
    toolBar_.Tick(); // before this frame's commands, so a notice they show lasts its full time
    Camera& cam = session_.camera(); // stays this frame's camera even if a command changes the mode
    // A copy: a box a command opens polls the input again, and this frame's tools must still see
    // the frame's own edges.
    const MouseState p = context_.mouse;
    hoverButton_ = toolBar_.HitTest(p.cursor);
    if (hoverButton_ >= 0 && hoverButton_ != EditToolBar::Strip && p.Pressed(MouseLeft))
        RunCommand(hoverButton_);
    session_.applyTool(p, cam, hoverButton_ >= 0);
    EditSession::pan(cam, p);
    const KeyState& keys = context_.keys;
    int steps = p.wheel;
    if (keys.Typed(platform::Key::V))
        steps -= 1;
    else if (keys.Typed(platform::Key::F))
        steps += 1;
    if (EditSession::zoom(cam, steps)) toolBar_.SetZoom(cam.zoom);
    RunShortcuts();
    RunKeys();
    toolBar_.SetHelp(hoverButton_ >= 0 ? hoverButton_ : session_.mode);
    const Camera& now = session_.camera(); // Home or a mode change may have moved it
    toolBar_.SetCursor(snapToGrid(screenToWorld(p.cursor, now), session_.grid()), session_.snapping);
    UpdateCheck();
}

void SceneEdit::RunKeys() {
    using platform::Key;
    const KeyState& keys = context_.keys;
    if (keys.Typed(Key::G)) session_.snapping = !session_.snapping;
    if (keys.Typed(Key::Home)) {
        session_.fitView();
        toolBar_.SetZoom(session_.camera().zoom);
    }
    if (session_.mode == MOVE && (keys.Typed(Key::Delete, true) || keys.Typed(Key::Backspace, true)))
        session_.deleteSelected();
}

void SceneEdit::Paste() {
    if (!session_.hasCopy()) return;
    if (!session_.paste().complete)
        toolBar_.ShowNotice(tr(u"ステージの点か線が上限に達したので、入りきる分だけ貼り付けました"));
}

void SceneEdit::RunShortcuts() {
    using platform::Key;
    // A failed save opens a box whose loop polls the input and so replaces the list being walked.
    const std::vector<KeyChord> chords = context_.keys.chords;
    for (const KeyChord& chord : chords) {
        if (chord.key == Key::S && chord.shift && CopyLink()) {
            // Ctrl+Shift+S shares the stage as a link where the game runs in a page; else it saves.
        } else if (chord.key == Key::S) {
            RunCommand(EditToolBar::Save);
        } else if (chord.key == Key::Y || (chord.key == Key::Z && chord.shift)) {
            if (session_.redo()) ShowStageTexts();
        } else if (chord.key == Key::Z) {
            if (session_.undo()) ShowStageTexts();
        } else if (session_.mode != MOVE) {
            continue; // the selection commands belong to the tool that selects
        } else if (chord.key == Key::A) {
            session_.selectAll();
        } else if (chord.key == Key::C) {
            session_.copySelection();
        } else if (chord.key == Key::V) {
            Paste();
        }
    }
}

void SceneEdit::RunCommand(int area) {
    session_.beginCommand();
    PlaySound(SoundId::click, false);
    switch (area) {
    case EditToolBar::Put:
    case EditToolBar::Move:
    case EditToolBar::Del:
    case EditToolBar::Setting:
        session_.mode = EditTool(area);
        break;
    case EditToolBar::Kind:
        session_.toggleKind();
        toolBar_.SetKind(session_.kind);
        break;
    case EditToolBar::Save:
        Save();
        break;
    case EditToolBar::Load:
        Load();
        break;
    case EditToolBar::Test:
        Test();
        break;
    case EditToolBar::Exit:
        Exit();
        break;
    case EditToolBar::Title:
        AskTitle();
        break;
    case EditToolBar::TimeLimit:
        AskTimeLimit();
        break;
    default:
        break;
    }
}

void SceneEdit::Save() {
    const EditSession::DiskState disk = session_.savedFileState();
    if (disk != EditSession::DiskState::AsRead) {
        const std::u16string question =
            disk == EditSession::DiskState::Unreadable
                ? tr(u"このファイルは読み込めなかったため、中身を確かめていません\n上書きしますか？")
                : tr(u"このファイルは開いた後で他のプログラムに変更されています\n上書きしますか？");
        if (ShowMessageBox(question + u"\n" + wrapPath(toUtf16(session_.savePath), PathLineUnits), u"WARNING",
                           MessageBoxStyle::OkCancelDefaultCancel) != MessageBoxResult::Ok)
            return;
    }
    std::error_code error;
    if (session_.save(&error))
        // The stage's name: the folder is the same for every stage (and means nothing in a browser).
        toolBar_.ShowNotice(tr(u"保存しました：") +
                            toUtf16(std::filesystem::path(session_.savePath).filename().string()));
    else
        ReportFileFailure(session_.savePath, error, true);
}

bool SceneEdit::CopyLink() {
    // The writer's files stay far below the reader's limit, so any stage fits in a link.
    if (!platform::copyStageLink(formatStage(session_.stage))) return false;
    toolBar_.ShowNotice(tr(u"このステージのリンクをクリップボードにコピーしました"));
    return true;
}

void SceneEdit::Load() {
    std::error_code error;
    if (session_.load(&error))
        ShowStageTexts();
    else
        ReportFileFailure(session_.loadPath, error, false);
}

void SceneEdit::Test() {
    const std::string path = testStagePath();
    std::error_code error;
    if (!session_.saveTestStage(path, &error)) {
        ReportFileFailure(path, error, true);
        return;
    }
    // The checked route plays as the ghost; without one no ghost of an earlier stage may linger.
    const SolveResult* checked = check_.answer();
    if (!(checked && checked->solved() && checked->record.save(testGhostPath()))) {
        std::error_code ignored; // a ghost that cannot be removed fails the stage's replay check
        std::filesystem::remove(testGhostPath(), ignored);
    }
    game_.editMode = true;
    game_.barsLeft = StartingBars;
    game_.startStage();
    master_->PushScene(SceneId::GameMain);
}

void SceneEdit::Exit() {
    if (session_.modified() &&
        ShowMessageBox(tr(u"保存していない変更は失われます\nよろしいですか？"), u"WARNING",
                       MessageBoxStyle::OkCancelDefaultCancel) != MessageBoxResult::Ok)
        return;
    master_->ChangeScene(SceneId::EditMenu);
}

void SceneEdit::AskTitle() {
    std::u16string typed;
    if (InputBox(tr(u"ステージ名を入れて下さい").c_str(), session_.stage.title.c_str(), typed) &&
        session_.setTitle(typed))
        ShowStageTexts();
}

void SceneEdit::AskTimeLimit() {
    const std::u16string current = toUtf16(std::to_string(session_.stage.timeLimit));
    std::u16string typed;
    if (InputBox(tr(u"制限時間を入れて下さい").c_str(), current.c_str(), typed) &&
        session_.setTimeLimit(typed))
        ShowStageTexts();
}

void SceneEdit::ShowStageTexts() {
    toolBar_.SetTitle(session_.stage.title);
    toolBar_.SetTimeLimit(session_.stage.timeLimit);
}

void SceneEdit::ReportFileFailure(const std::string& path, const std::error_code& error, bool writing) {
    const std::u16string what =
        writing ? tr(u"ステージを保存できませんでした\n") : tr(u"ステージを読み込めませんでした\n");
    ShowMessageBox(what + wrapPath(toUtf16(path), PathLineUnits) + u"\n" + describeFileError(error, writing),
                   u"WARNING", MessageBoxStyle::Ok);
}

void SceneEdit::Draw() const {
    const Camera& cam = session_.camera();
    ClearScreen(Colors::Black);
    context_.cameras.PushCamera(cam);
    if (session_.snapping) DrawGrid(cam);
    mesh_.Draw(session_.stage, true);
    drawBar(session_.bar);
    DrawToolOverlay(session_.toolPointer(), cam);
    context_.cameras.PopCamera();
    if (session_.mode == SETTING) DrawOutline(HeadsUpBand, BandColor);
    LabelBatch check;
    check.Add(*checkLabel_, CheckColor);
    check.Add(*checkDetailLabel_, CheckColor);
    toolBar_.Draw(hoverButton_, session_.mode, std::move(check));
}

void SceneEdit::DrawGrid(const Camera& cam) {
    const GridLines grid = gridLines(cam, ViewRect, GridStep, MinGridSpacing);
    if (grid.count() == 0) return;
    const Vec2 low = screenToWorld({ViewRect.left, ViewRect.bottom}, cam);
    const Vec2 high = screenToWorld({ViewRect.right, ViewRect.top}, cam);
    VertexList lines;
    lines.reserve(std::size_t(grid.count()) * 2);
    for (std::int64_t i = 0; i < grid.countX; ++i) {
        const auto x = float(double(grid.firstX + i) * grid.step);
        lines.push_back({x, low.y});
        lines.push_back({x, high.y});
    }
    for (std::int64_t i = 0; i < grid.countY; ++i) {
        const auto y = float(double(grid.firstY + i) * grid.step);
        lines.push_back({low.x, y});
        lines.push_back({high.x, y});
    }
    SetColor(GridColor);
    DrawVertices(lines, GL_LINES);
}

void SceneEdit::DrawToolOverlay(const MouseState& p, const Camera& cam) const {
    const Stage& stage = session_.stage;
    const Vec2 cursor = screenToWorld(p.cursor, cam);
    const int hovered = session_.pickedPoint(p, cam);
    if (hovered >= 0) {
        SetPointSize(3.0f);
        SetColor(HoverPointColor);
        DrawVertices({stage.points[hovered]}, GL_POINTS);
    }
    const Rect selection(screenToWorld(p.pressPosition[MouseRight], cam), cursor);
    const int active = session_.activePoint;
    switch (session_.mode) {
    case PUT:
        if (stage.holdsPoint(active)) {
            SetColor(RubberBandColor);
            DrawVertices({stage.points[active],
                          hovered >= 0 ? stage.points[hovered] : snapToGrid(cursor, session_.grid())},
                         GL_LINE_STRIP);
        }
        break;
    case MOVE:
        if (p.Held(MouseRight)) FillRect(selection, SelectionColor);
        break;
    case DEL:
        if (p.Held(MouseLeft) && active < 0) {
            SetColor(StrokeColor);
            DrawVertices({cursor, screenToWorld(p.pressPosition[MouseLeft], cam)}, GL_LINES);
        }
        if (p.Held(MouseRight)) FillRect(selection, SelectionColor);
        break;
    default:
        break;
    }
}
