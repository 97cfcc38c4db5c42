#include "ui/editor/SceneEditMenu.h"

#include "core/base/Utf.h"
#include "core/editor/EditText.h"
#include "core/game/BestRun.h"
#include "core/game/ShippedTitles.h"
#include "core/lang/Translate.h"
#include "core/play/GameSession.h"
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"
#include "core/stage/StageNames.h"
#include "core/stage/View.h"
#include "ui/render/Draw.h"
#include "ui/render/MenuEntry.h"
#include "ui/scene/SceneMaster.h"
#include "ui/sound/Sound.h"
#include "ui/system/MessageBox.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
constexpr std::u16string_view NewStageText = u"N E W   S T A G E";
constexpr std::u16string_view ExitText = u"E X I T";
constexpr std::u16string_view Ellipsis = u"…";
constexpr float RightEdge = ViewWidth / 2.0f - 10.0f; // entries end before the window's edge
constexpr float Easing = 0.1f;                        // a tenth of the way to the target per frame
constexpr std::size_t BoxLineUnits = 40;
constexpr std::size_t RefusedNameUnits = 14; // with its reason, one line of the box
constexpr float ProgressScale = 0.6f;
// Of a frame's time, what an import leaves for the update and the picture: a frame that runs
// late is not drawn, and flushed copies can take milliseconds each.
constexpr std::uint64_t DrawReserveUs = 8000;

std::u16string shortened(std::u16string_view text, std::size_t units) {
    if (text.size() <= units) return std::u16string(text);
    std::size_t n = units - 1;
    if (isHighSurrogate(text[n - 1])) --n;
    return std::u16string(text.substr(0, n)) + std::u16string(Ellipsis);
}

std::u16string entryText(const EditedStage& stage) {
    std::u16string text = toUtf16(stage.name);
    if (!stage.title.empty()) text += u"  " + stage.title;
    return text;
}

std::u16string reportText(const ImportReport& report) {
    std::u16string text;
    if (report.refusedCount > 0) {
        text = tr(u"次のファイルは取り込めませんでした");
        for (const RefusedFile& file : report.refused)
            text += u"\n" + shortened(toUtf16(file.path), RefusedNameUnits) + u"：" + file.reason;
        if (report.refusedCount > report.refused.size())
            text +=
                u"\n" + withNumber(tr(u"ほかに %1 件あります"), report.refusedCount - report.refused.size());
    }
    if (report.stopped > 0) {
        if (!text.empty()) text += u"\n";
        text += withNumber(tr(u"取り込みを止めました。\n残りの %1 件は取り込んでいません"), report.stopped);
    }
    return text;
}
} // namespace

SceneEditMenu::SceneEditMenu(SceneMaster* master, GameSession& session)
    : master_(master), context_(master->Context()), session_(session), stages_(listStagesWithTitles()),
      shipped_(shippedStageTitles(StageCount)), scroll_(EntryCount(), PointerRow(context_.mouse.cursor)),
      progress_(std::make_unique<TextLabel>(context_.glyphs, Vec2{RightEdge, ViewRect.top - 30.0f},
                                            ProgressScale, TextAlign::Right)) {
    camera_.y = TargetY();
    GlyphCache& cache = context_.glyphs;
    heading_ = CreateLabel(
        cache, {N_(u"ステージエディット"), RightEdge, ViewRect.top - 30.0f, 0.6f, TextAlign::Right});
    hint_ = CreateHintLabel(
        cache,
        tr(u"Enter：開く　Delete：ファイルを削除　ファイルをドロップ：取り込む　BackSpace：タイトルに戻る"));
    if (context_.online.Records())
        publishHint_ = CreateLabel(cache, {N_(u"P：選んだステージをオンラインに公開"), -RightEdge,
                                           ViewRect.top - 30.0f, 0.6f, TextAlign::Left});
    ShowEntriesInSight();
}

const TextLabel* SceneEditMenu::Entry(int i) const {
    const int k = i - firstShown_;
    return k >= 0 && k < int(shown_.size()) ? shown_[std::size_t(k)].get() : nullptr;
}

int SceneEditMenu::RowsInSight() const {
    return std::min(EntryCount(), ShownRows);
}

// 0 at the first row's middle and above it, 1 at the last row's and below it. Only the rows' boxes
// count, so between two the list stands still (the pointer lights nothing there either), and each
// row's box spans an equal share of the list: every entry can be brought under the pointer.
float SceneEditMenu::PointerRow(Vec2 cursor) const {
    const int rows = RowsInSight();
    if (rows < 2) return 0.0f;
    const float fromTop = RowY(0) - cursor.y;
    const int row = std::clamp(int(std::floor(fromTop / EntrySpacing + 0.5f)), 0, rows - 1);
    const float along =
        2.0f * RowHalf * float(row) + std::clamp(fromTop - EntrySpacing * float(row), -RowHalf, RowHalf);
    return std::clamp(along / (2.0f * RowHalf * float(rows - 1)), 0.0f, 1.0f);
}

float SceneEditMenu::TargetY() const {
    const int first = scroll_.FirstInSight(PointerRow(context_.mouse.cursor), RowsInSight());
    return -EntrySpacing * float(first) - (RowY(0) - RowCentre);
}

int SceneEditMenu::EntryUnderPointer() const {
    // The camera of the last frame drawn, and the labels it showed.
    const Vec2 p = screenToWorld(context_.mouse.cursor, camera_);
    for (std::size_t k = 0; k < shown_.size(); ++k)
        if (shown_[k]->Bounds().containsStrictly(p)) return firstShown_ + int(k);
    return -1;
}

void SceneEditMenu::Update() {
    const MouseState& mouse = context_.mouse;
    const int under = EntryUnderPointer();
    if (mouse.cursor.x != mouse.previousCursor.x || mouse.cursor.y != mouse.previousCursor.y) {
        keyed_ = -1; // the pointer leads again
        scroll_.Follow(PointerRow(mouse.previousCursor), PointerRow(mouse.cursor));
    }
    Steer(under);
    hot_ = keyed_ >= 0 ? keyed_ : under;
    const KeyState& keys = context_.keys;
    if (keys.Typed(platform::Key::Backspace)) {
        StopImport();
        PlaySound(SoundId::enter, false);
        master_->PopScene();
        return;
    }
    if (hot_ >= 0 && (mouse.Pressed(MouseLeft) || keys.Typed(platform::Key::Return))) {
        const int chosen = hot_;
        StopImport(); // the menu goes, and no one else would take in the rest
        Choose(chosen);
        return;
    }
    if (hot_ >= 0 && hot_ < int(stages_.size()) && keys.Typed(platform::Key::Delete)) AskDelete(hot_);
    if (publishHint_ && hot_ >= 0 && hot_ < int(stages_.size()) && keys.Typed(platform::Key::P))
        Publish(hot_);
    const float target = TargetY();
    camera_.y += (target - camera_.y) * Easing;
    if (std::abs(target - camera_.y) < 0.5f) camera_.y = target;
    ShowEntriesInSight();
}

void SceneEditMenu::Steer(int under) {
    const int last = EntryCount() - 1;
    const int page = ShownRows - 1;
    int entry = keyed_ >= 0 ? keyed_ : under >= 0 ? under : scroll_.Nearest();
    bool keyed = false;
    for (const KeyPress& press : context_.keys.presses)
        if (const std::optional<int> next = StepInList(press, entry, page, last)) {
            entry = *next;
            keyed = true;
        }
    const int wheel = context_.mouse.wheel; // notches away from the player: up the list
    if (keyed)
        LightEntry(entry);
    else if (wheel != 0 && keyed_ >= 0)
        LightEntry(std::clamp(entry - wheel, 0, last));
    else if (wheel != 0)
        scroll_.Show(entry - wheel);
}

void SceneEditMenu::LightEntry(int entry) {
    keyed_ = hot_ = entry;
    scroll_.Show(entry);
}

void SceneEditMenu::Choose(int entry) {
    PlaySound(SoundId::enter, false);
    const int stageCount = int(stages_.size());
    const int shipped = entry - stageCount - 1;
    session_.editSourcePath.clear();
    if (entry < stageCount) {
        session_.editFileName = stages_[std::size_t(entry)].name;
        session_.newStage = false;
        master_->ChangeScene(SceneId::Edit);
    } else if (entry == stageCount) {
        session_.editFileName = nextNewStageName();
        session_.newStage = true;
        master_->ChangeScene(SceneId::Edit);
    } else if (shipped < int(shipped_.size())) { // nothing is written until SAVE
        session_.editFileName = nextNewStageName();
        session_.editSourcePath = stageFileName(shipped);
        session_.newStage = false;
        master_->ChangeScene(SceneId::Edit);
    } else {
        master_->PopScene();
    }
}

void SceneEditMenu::AskDelete(int entry) {
    const EditedStage stage = stages_[std::size_t(entry)];
    std::u16string question =
        tr(u"このステージのファイルを削除しますか？") + u"\n" + wrapPath(toUtf16(stage.name), BoxLineUnits);
    if (!stage.title.empty()) question += u"\n" + shortened(stage.title, BoxLineUnits);
    if (ShowMessageBox(question, u"WARNING", MessageBoxStyle::OkCancelDefaultCancel) != MessageBoxResult::Ok)
        return;
    if (!deleteEditedStage(stage.name)) {
        ShowMessageBox(tr(u"ファイルを削除できませんでした") + u"\n" +
                           wrapPath(toUtf16(stage.name), BoxLineUnits),
                       u"WARNING", MessageBoxStyle::Ok);
        return;
    }
    stages_.erase(stages_.begin() + entry);
    shown_.clear(); // every entry after it moved up one
    scroll_.SetCount(EntryCount());
    if (keyed_ >= 0)
        LightEntry(std::min(keyed_, EntryCount() - 1));
    else
        hot_ = -1; // the pointer finds what moved under it next turn
}

// Only a stage the player has cleared as it is now: the server asks for that clear, and a run
// of an earlier version of the stage would not clear this one.
void SceneEditMenu::Publish(int entry) {
    const std::string path = workingFolderPath() + stages_[std::size_t(entry)].name;
    Stage stage;
    std::error_code error;
    loadStage(path, stage, &error);
    std::string problem;
    const std::string clear = ownReplayFileName(stage);
    if (error || !loadBestRun(clear, stage, problem)) {
        ShowMessageBox(tr(u"公開するには、今のこのステージを一度クリアしてください"), u"WARNING",
                       MessageBoxStyle::Ok);
        return;
    }
    PlaySound(SoundId::enter, false);
    context_.online.Publish(path, clear); // the status line says how it went
}

bool SceneEditMenu::TakeDrops() {
    imports_.Add(context_.TakeDrops());
    if (imports_.Left() == 0) return true;
    const Lib::Time::Timer& timer = master_->FrameTimer();
    AddToList(imports_.Step([&] { return timer.TimeLeft() > DrawReserveUs; }));
    if (imports_.Left() == 0)
        FinishImport();
    else
        progress_->SetText(withNumber(tr(u"取り込み中：残り %1 件"), imports_.Left()));
    return true;
}

bool SceneEditMenu::TakeEscape() {
    if (imports_.Left() == 0) return false;
    StopImport();
    return true;
}

void SceneEditMenu::AddToList(std::vector<EditedStage> added) {
    if (added.empty()) return;
    const auto byName = [](const EditedStage& a, const EditedStage& b) {
        return naturalLess(a.name, b.name);
    };
    for (EditedStage& stage : added) {
        lastImported_ = stage.name;
        const auto at = std::upper_bound(stages_.begin(), stages_.end(), stage, byName);
        const int entry = int(stages_.insert(at, std::move(stage)) - stages_.begin());
        for (int* lit : {&keyed_, &hot_}) // the same entry stays lit under a Return on its way
            if (*lit >= entry) ++*lit;
    }
    scroll_.SetCount(EntryCount());
    if (keyed_ >= 0) scroll_.Show(keyed_);
    shown_.clear(); // the entries after each new one moved down
    ShowEntriesInSight();
}

void SceneEditMenu::StopImport() {
    if (imports_.Left() == 0) return;
    imports_.Stop();
    FinishImport();
}

void SceneEditMenu::FinishImport() {
    progress_->SetText(u"");
    const auto last = std::find_if(stages_.begin(), stages_.end(),
                                   [&](const EditedStage& stage) { return stage.name == lastImported_; });
    if (last != stages_.end()) LightEntry(int(last - stages_.begin()));
    lastImported_.clear();
    const ImportReport report = imports_.TakeReport();
    if (!report.Empty()) ShowMessageBox(reportText(report), u"WARNING", MessageBoxStyle::Ok);
}

std::unique_ptr<TextLabel> SceneEditMenu::MakeLabel(int entry) const {
    const int stageCount = int(stages_.size());
    const int shipped = entry - stageCount - 1;
    const std::u16string text = entry < stageCount    ? entryText(stages_[std::size_t(entry)])
                                : entry == stageCount ? std::u16string(NewStageText)
                                : shipped < int(shipped_.size())
                                    ? tr(u"コピーを開く：") + tr(u"ステージ") +
                                          toUtf16(std::to_string(shipped + 1)) + u"  " +
                                          shippedStageTitle(shipped_[std::size_t(shipped)])
                                    : std::u16string(ExitText);
    return CreateFittedLabel(context_.glyphs, text, {EntryX, -EntrySpacing * float(entry)}, 1.0f, RightEdge);
}

void SceneEditMenu::ShowEntriesInSight() {
    const float reach = float(ViewHeight) / 2.0f + EntrySpacing / 2.0f;
    const int first = std::max(0, int(std::ceil(-(camera_.y + reach) / EntrySpacing)));
    const int last = std::min(EntryCount() - 1, int(std::floor(-(camera_.y - reach) / EntrySpacing)));
    std::vector<std::unique_ptr<TextLabel>> kept(std::size_t(std::max(0, last - first + 1)));
    for (std::size_t k = 0; k < shown_.size(); ++k) {
        const int i = firstShown_ + int(k);
        if (i >= first && i <= last) kept[std::size_t(i - first)] = std::move(shown_[k]);
    }
    shown_ = std::move(kept); // the labels gone out of sight give their glyphs back first
    firstShown_ = first;
    for (std::size_t k = 0; k < shown_.size(); ++k)
        if (!shown_[k]) shown_[k] = MakeLabel(first + int(k));
}

void SceneEditMenu::Draw() const {
    ClearScreen(Colors::Black);
    context_.cameras.PushCamera(camera_);
    // Only whole rows: one on its way in or out while the list moves is left out until it is all in.
    const float half = EntrySpacing / 2.0f;
    const float top = screenToWorld({0.0f, RowY(0) + half}, camera_).y;
    const float bottom = screenToWorld({0.0f, RowY(ShownRows - 1) - half}, camera_).y;
    for (std::size_t k = 0; k < shown_.size(); ++k) {
        TextLabel& entry = *shown_[k];
        if (entry.Bounds().top < top && entry.Bounds().bottom > bottom)
            DrawMenuEntry(entry, firstShown_ + int(k) == hot_);
    }
    context_.cameras.PopCamera();
    // The heading (in the corner an import's count takes while it runs) and the keys at the foot,
    // legible over an entry scrolling under them.
    if (progress_->Text().empty()) DrawLegibleLabel(*heading_, Colors::White);
    if (publishHint_) DrawLegibleLabel(*publishHint_, Colors::White);
    DrawLegibleLabel(*hint_, Colors::White);
    if (!progress_->Text().empty()) DrawLegibleLabel(*progress_, Colors::White);
}
