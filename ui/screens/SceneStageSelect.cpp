#include "ui/screens/SceneStageSelect.h"

#include "core/base/FileAccess.h"
#include "core/base/Utf.h"
#include "core/editor/EditedStages.h"
#include "core/game/PlayTexts.h"
#include "core/game/RunCheck.h"
#include "core/game/ShippedTitles.h"
#include "core/lang/Translate.h"
#include "core/online/RecordsClient.h"
#include "core/play/GameSession.h"
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"
#include "ui/render/ButtonPalette.h"
#include "ui/render/Draw.h"
#include "ui/render/MenuEntry.h"
#include "ui/scene/SceneMaster.h"
#include "ui/sound/Sound.h"
#include "ui/system/MessageBox.h"

namespace {
constexpr float TopRowY = 195.0f;
constexpr float RowSpacing = 36.0f;
constexpr float RowScale = 0.6f;
constexpr float RowLeft = -370.0f, RowRight = 370.0f;
constexpr float TimeColumn = 250.0f; // names and titles end before the times
// With the online records the world best goes between them, and the time takes the rank.
constexpr float WorldColumn = -20.0f, OnlineTimeColumn = 200.0f;
constexpr Color32 WorldText = makeColor(96, 224, 255, 255);
constexpr float BoxMargin = 10.0f;
// A locked row reads at more than 6:1 whether lit or not, and stays apart from a playable one.
constexpr Color32 LockedBox = makeColor(40, 40, 40, 255);
constexpr Color32 LockedHotBox = makeColor(64, 64, 32, 255);
constexpr Color32 LockedText = makeColor(190, 190, 190, 255);

const LabelDesc TabDescs[StageSelect::PageCount] = {
    {N_(u"ステージ一覧"), -180.0f, 250.0f, 0.8f, TextAlign::Center},
    {N_(u"自作ステージ"), 180.0f, 250.0f, 0.8f, TextAlign::Center},
    {N_(u"オンラインステージ"), 260.0f, 250.0f, 0.8f, TextAlign::Center},
};
constexpr float ThreeTabsX[StageSelect::PageCount] = {-260.0f, 0.0f, 260.0f};
const LabelDesc ExitDesc{u"E X I T", 0.0f, -255.0f, 1.0f, TextAlign::Center};
const LabelDesc TotalDesc{u"", 0.0f, -180.0f, 0.7f, TextAlign::Center};
const LabelDesc RaceDesc{u"", 370.0f, -180.0f, 0.6f, TextAlign::Right}; // beside the total
constexpr float NoteY = -218.0f;                                        // between the rows and EXIT
const LabelDesc LockedDesc{u"", 0.0f, NoteY, 0.6f, TextAlign::Center};
const LabelDesc EmptyDesc{N_(u"自作ステージはまだありません"), 0.0f, TopRowY, RowScale, TextAlign::Center};
// The published stages' page line takes the place of the ten's locked note.
const LabelDesc PublishedAtDesc{u"", 0.0f, NoteY, RowScale, TextAlign::Center};
const LabelDesc PublishedBackDesc{N_(u"＜ 前のページ"), RowLeft, NoteY, RowScale, TextAlign::Left};
const LabelDesc PublishedOnDesc{N_(u"次のページ ＞"), RowRight, NoteY, RowScale, TextAlign::Right};
static_assert(online::RecordsClient::StagesPerPage == StageSelect::RowsInSight,
              "a page of published stages is a screenful");
// Under it, where a new player learns how to make one.
const LabelDesc EmptyHowDesc{N_(u"タイトルの EDIT で NEW STAGE を選ぶと作れます"), 0.0f, TopRowY - RowSpacing,
                             RowScale, TextAlign::Center};

std::vector<OwnStage> ownStages() {
    std::vector<OwnStage> own;
    for (EditedStage& stage : listStagesWithTitles())
        own.push_back({std::move(stage.name), std::move(stage.title)});
    return own;
}

std::u16string timeText(std::int64_t frames) {
    return frames > 0 ? FormatSeconds(frames) + tr(u"秒") : std::u16string(u"----");
}
} // namespace

SceneStageSelect::SceneStageSelect(SceneMaster* master, GameSession& session)
    : master_(master), context_(master->Context()), session_(session),
      select_(readProgress("", StageCount), ownStages()) {
    GlyphCache& cache = context_.glyphs;
    for (int page = 0; page < StageSelect::PageCount; ++page)
        tabs_[std::size_t(page)] = CreateLabel(cache, TabDescs[page]);
    if (context_.online.Records()) // three tabs: the online page's joins them
        for (int page = 0; page < StageSelect::PageCount; ++page)
            tabs_[std::size_t(page)]->SetPosition({ThreeTabsX[page], TabDescs[page].y});
    exit_ = CreateLabel(cache, ExitDesc);
    total_ = CreateLabel(cache, TotalDesc);
    if (const auto total = totalBest(select_.shipped())) total_->SetText(tr(u"合計：") + timeText(*total));
    hint_ = CreateHintLabel(cache, tr(u"←→：ページ切り替え　Enter：遊ぶ　BackSpace：タイトルに戻る"));
    locked_ = CreateLabel(cache, LockedDesc);
    empty_ = CreateLabel(cache, EmptyDesc);
    emptyHow_ = CreateLabel(cache, EmptyHowDesc);
    emptyOnline_ = CreateLabel(
        cache, {N_(u"公開されたステージはまだありません"), 0.0f, TopRowY, RowScale, TextAlign::Center});
    if (context_.online.Records()) {
        race_ = CreateLabel(cache, RaceDesc);
        ShowRaceSwitch();
        onlineHint_ =
            CreateHintLabel(cache, tr(u"←→：一覧の切り替え　PageUp/"
                                      u"PageDown：前後のページ　Enter：遊ぶ　BackSpace：タイトルに戻る"));
        publishedAt_ = CreateLabel(cache, PublishedAtDesc);
        publishedBack_ = CreateLabel(cache, PublishedBackDesc);
        publishedOn_ = CreateLabel(cache, PublishedOnDesc);
    }
    if (!session_.ownStageFile.empty()) { // back from an own stage: where the player left the list
        select_.lightOwn(session_.ownStageFile);
        const bool fromOnline = race_ && session_.ownStageFile.starts_with("online-");
        select_.showPage(fromOnline ? StageSelect::Online : StageSelect::Own);
    }
    ShowRowsInSight();
}

const TextLabel* SceneStageSelect::RowName(int k) const {
    return k >= 0 && k < int(rows_.size()) ? rows_[std::size_t(k)].name.get() : nullptr;
}

const TextLabel* SceneStageSelect::RowTime(int k) const {
    return k >= 0 && k < int(rows_.size()) ? rows_[std::size_t(k)].time.get() : nullptr;
}

const TextLabel* SceneStageSelect::RowWorld(int k) const {
    return k >= 0 && k < int(rows_.size()) ? rows_[std::size_t(k)].world.get() : nullptr;
}

void SceneStageSelect::ShowRaceSwitch() {
    race_->SetText(tr(u"世界記録と競う：") + (session_.raceWorld ? tr(u"オン") : tr(u"オフ")));
}

void SceneStageSelect::ShowWorldBests() {
    online::RecordsClient* records = context_.online.Records();
    if (!records || select_.page() == StageSelect::Own) return;
    GlyphCache& cache = context_.glyphs;
    for (std::size_t k = 0; k < rows_.size(); ++k) {
        const std::string id = StageIdOf(shownFirst_ + int(k));
        if (id.empty()) continue;
        if (!asked_.contains(id) && records->LookUp(id)) asked_.insert(id);
        const online::WorldBest* world = records->Best(id);
        if (!world) continue;
        Row& row = rows_[k];
        const std::u16string worldText = world->frames > 0
                                             ? timeText(world->frames) + u" " + toUtf16(world->holder)
                                             : std::u16string(u"----");
        const std::int64_t best = row.best;
        const std::u16string time =
            world->rank ? withNumber(tr(u"%1位"), std::size_t(*world->rank)) + u" " + timeText(best)
                        : timeText(best);
        if (worldText != row.worldText) {
            row.world = CreateFittedLabel(cache, worldText, {WorldColumn, row.y}, RowScale,
                                          OnlineTimeColumn - BoxMargin);
            row.worldText = worldText;
        }
        if (time != row.timeText) row.time->SetText(row.timeText = time);
    }
}

std::string SceneStageSelect::StageIdOf(int entry) {
    if (select_.page() == StageSelect::Shipped) return context_.online.ShippedStageId(entry);
    if (select_.page() == StageSelect::Online) return select_.online()[std::size_t(entry)].id;
    return {};
}

void SceneStageSelect::FollowOnlinePage() {
    online::RecordsClient* records = context_.online.Records();
    if (!records) return;
    if (!listed_ && select_.page() == StageSelect::Online) {
        const online::StagePage* held = records->Published();
        records->ListStages(held ? held->page : 0); // where the player left them, afresh
        listed_ = true;
    }
    if (const online::StagePage* page = records->Published();
        listed_ && page && page->serial != publishedShown_)
        ShowPublished(*page);
    if (const std::string* file = downloading_.empty() ? nullptr : records->StageFile(downloading_)) {
        std::string reason;
        std::error_code error;
        const std::string id = std::exchange(downloading_, {});
        if (!readPublishedStage(*file, reason) || !writeFileAtomically(onlineStagePath(id), *file, &error)) {
            ShowMessageBox(tr(u"このステージは読み込めませんでした"), u"WARNING", MessageBoxStyle::Ok);
            return;
        }
        PlayOnline(id);
    }
}

void SceneStageSelect::ShowPublished(const online::StagePage& page) {
    std::vector<OnlineStage> stages;
    for (const online::StageEntry& s : page.stages)
        stages.push_back({s.id, toUtf16(s.title), toUtf16(s.maker)});
    select_.setOnline(std::move(stages));
    shownFirst_ = -1; // the rows are made again
    publishedShown_ = page.serial;
    publishedPage_ = page.page;
    publishedMore_ = page.more;
    const std::u16string at = page.more ? tr(u"ページ%1") : tr(u"ページ%1（最後）");
    publishedAt_->SetText(withNumber(at, std::size_t(page.page) + 1));
}

void SceneStageSelect::TurnPublished(int step) {
    const int page = publishedPage_ + step;
    if (publishedShown_ == 0 || page < 0 || (step > 0 && !publishedMore_)) return;
    context_.online.Records()->ListStages(page); // the stages shown stay until these come
    PlaySound(SoundId::click, false);
}

// A stage downloaded before is played from its file, named after its content so it is the same.
void SceneStageSelect::PlayOnline(const std::string& id) {
    if (!pathExists(onlineStagePath(id))) {
        downloading_ = id;
        context_.online.Records()->FetchStage(id);
        return;
    }
    session_.startOwnStage(onlineStagePath(id).substr(workingFolderPath().size()));
    PlaySound(SoundId::enter, false);
    master_->ChangeScene(SceneId::GameMain);
}

SceneStageSelect::Row SceneStageSelect::MakeRow(int entry, float y) {
    GlyphCache& cache = context_.glyphs;
    std::u16string name;
    std::int64_t best;
    if (select_.page() == StageSelect::Shipped) {
        const StageProgress& stage = select_.shipped()[std::size_t(entry)];
        name = tr(u"ステージ") + toUtf16(std::to_string(entry + 1)) + u"  " + shippedStageTitle(stage.title);
        best = stage.best;
    } else if (select_.page() == StageSelect::Own) {
        const OwnStage& stage = select_.own()[std::size_t(entry)];
        name = toUtf16(stage.name) + u"  " + stage.title;
        best = select_.ownBest(entry);
    } else {
        const OnlineStage& stage = select_.online()[std::size_t(entry)];
        name = stage.title + u"  " + stage.maker;
        best = ownStageBest(onlineStagePath(stage.id));
    }
    Row row;
    // The world best's column, when the records are on, narrows the name's.
    const bool online = context_.online.Records() && select_.page() != StageSelect::Own;
    row.name = CreateFittedLabel(cache, name, {RowLeft, y}, RowScale,
                                 (online ? WorldColumn : TimeColumn) - BoxMargin);
    row.time = CreateLabel(cache, {u"", RowRight, y, RowScale, TextAlign::Right});
    row.time->SetText(timeText(best));
    row.best = best;
    const Rect& text = row.name->Bounds();
    row.box = Rect(RowLeft - BoxMargin, text.bottom, RowRight + BoxMargin, text.top);
    row.y = y;
    return row;
}

void SceneStageSelect::ShowRowsInSight() {
    if (shownPage_ == select_.page() && shownFirst_ == select_.firstInSight()) return;
    rows_.clear(); // the rows gone out of sight give their glyphs back first
    shownPage_ = select_.page();
    shownFirst_ = select_.firstInSight();
    const int end = std::min(select_.exitEntry(), shownFirst_ + StageSelect::RowsInSight);
    for (int entry = shownFirst_; entry < end; ++entry)
        rows_.push_back(MakeRow(entry, TopRowY - RowSpacing * float(entry - shownFirst_)));
}

int SceneStageSelect::EntryUnder(Vec2 p) const {
    if (exit_->Bounds().containsStrictly(p)) return select_.exitEntry();
    for (std::size_t k = 0; k < rows_.size(); ++k)
        if (rows_[k].box.containsStrictly(p)) return shownFirst_ + int(k);
    return -1;
}

int SceneStageSelect::TabUnder(Vec2 p) const {
    for (int page = 0; page < Pages(); ++page)
        if (tabs_[std::size_t(page)]->Bounds().containsStrictly(p)) return page;
    return -1;
}

void SceneStageSelect::TurnPage(StageSelect::Page page) {
    if (page == select_.page()) return;
    select_.showPage(page);
    ShowRowsInSight();
}

void SceneStageSelect::Steer() {
    using platform::Key;
    int entry = select_.lit();
    bool moved = false;
    for (const KeyPress& press : context_.keys.presses) {
        if (select_.page() == StageSelect::Online &&
            (press.key == Key::PageUp || press.key == Key::PageDown)) {
            TurnPublished(press.key == Key::PageDown ? 1 : -1);
        } else if (const std::optional<int> next =
                       StepInList(press, entry, StageSelect::RowsInSight, select_.exitEntry())) {
            entry = *next;
            moved = true;
        } else if ((press.key == Key::Left || press.key == Key::Right || press.key == Key::Tab) &&
                   !press.repeat) {
            const int step = press.key == Key::Left ? Pages() - 1 : 1;
            TurnPage(StageSelect::Page((select_.page() + step) % Pages()));
            entry = select_.lit();
        }
    }
    const int wheel = context_.mouse.wheel; // notches away from the player: up the list
    if (wheel != 0) {
        entry -= wheel;
        moved = true;
    }
    if (moved) select_.light(entry);
}

void SceneStageSelect::Update() {
    const MouseState& mouse = context_.mouse;
    const Vec2 p = screenToWorld(mouse.cursor, DefaultCamera);
    const int under = EntryUnder(p);
    // A locked row under the pointer keeps the playable highlight, and says what unlocks it.
    const bool underLocked = under >= 0 && under != select_.exitEntry() && !select_.playable(under);
    if (under >= 0 && !underLocked && !(mouse.cursor == mouse.previousCursor)) select_.light(under);
    if (context_.keys.Typed(platform::Key::Backspace)) {
        PlaySound(SoundId::enter, false);
        master_->PopScene();
        return;
    }
    Steer();
    FollowOnlinePage();
    ShowRowsInSight();
    ShowWorldBests();
    const int lit = select_.lit();
    const bool litLocked = lit >= 0 && lit < select_.exitEntry() && !select_.playable(lit);
    const int why = underLocked ? under : litLocked ? lit : -1;
    if (why != lockedShown_) {
        lockedShown_ = why;
        // Stage `why` (counted from 1) is the one before the locked stage.
        locked_->SetText(why > 0 && select_.page() == StageSelect::Shipped
                             ? withNumber(tr(u"ステージ%1をクリアすると遊べます"), std::size_t(why))
                             : std::u16string());
    }
    // Z is also the left button's stand-in: it chooses the highlight, not what lies under the pointer.
    if (context_.keys.Typed(platform::Key::Return) || context_.keys.TypedPivot()) {
        Choose(select_.lit());
    } else if (mouse.Pressed(MouseLeft)) {
        if (const int tab = TabUnder(p); tab >= 0) {
            TurnPage(StageSelect::Page(tab));
        } else if (select_.page() == StageSelect::Online && publishedBack_->Bounds().containsStrictly(p)) {
            TurnPublished(-1);
        } else if (select_.page() == StageSelect::Online && publishedOn_->Bounds().containsStrictly(p)) {
            TurnPublished(1);
        } else if (race_ && race_->Bounds().containsStrictly(p)) {
            session_.raceWorld = !session_.raceWorld;
            PlaySound(SoundId::click, false);
            ShowRaceSwitch();
        } else if (under >= 0)
            Choose(under);
    }
}

void SceneStageSelect::Choose(int entry) {
    if (entry == select_.exitEntry()) {
        PlaySound(SoundId::enter, false);
        master_->PopScene();
        return;
    }
    if (!select_.playable(entry)) return; // locked: the stage before it is not cleared yet
    if (select_.page() == StageSelect::Own) {
        PlayOwn(entry);
        return;
    }
    if (select_.page() == StageSelect::Online) {
        PlayOnline(select_.online()[std::size_t(entry)].id);
        return;
    }
    session_.stageNumber = entry;
    session_.barsLeft = StartingBars;
    session_.editMode = false;
    session_.ownStageFile.clear();
    session_.startStage();
    PlaySound(SoundId::enter, false);
    master_->ChangeScene(SceneId::GameMain);
}

void SceneStageSelect::PlayOwn(int entry) {
    const std::string name = select_.own()[std::size_t(entry)].name;
    // Read now, not trusted from when the list was made: the file may have gone since.
    const auto stage = std::make_unique<Stage>();
    std::error_code error;
    loadStage(workingFolderPath() + name, *stage, &error);
    if (error) {
        ShowMessageBox(tr(u"このステージは読み込めませんでした") + u"\n" + toUtf16(name), u"WARNING",
                       MessageBoxStyle::Ok);
        select_.removeOwn(entry);
        shownFirst_ = -1;
        ShowRowsInSight();
        return;
    }
    session_.startOwnStage(name);
    PlaySound(SoundId::enter, false);
    master_->ChangeScene(SceneId::GameMain);
}

void SceneStageSelect::Draw() const {
    ClearScreen(Colors::Black);
    for (int page = 0; page < Pages(); ++page)
        DrawMenuEntry(*tabs_[std::size_t(page)], page == select_.page());
    for (std::size_t k = 0; k < rows_.size(); ++k) {
        const int entry = shownFirst_ + int(k);
        const Row& row = rows_[k];
        const bool hot = entry == select_.lit();
        const bool locked = !select_.playable(entry);
        FillRect(row.box, locked ? (hot ? LockedHotBox : LockedBox) : hot ? LitButton : UnlitButton);
        // The rows' small text keeps a box button's contrast rather than sinking into its panel.
        const Color32 text = locked ? LockedText : hot ? ButtonText : UnlitBoxButtonText;
        row.name->DrawLabel(text);
        row.time->DrawLabel(text);
        if (row.world) row.world->DrawLabel(locked || hot ? text : WorldText); // cyan is lost on the yellow
    }
    if (select_.page() == StageSelect::Own && select_.own().empty()) {
        empty_->DrawLabel(Colors::White);
        emptyHow_->DrawLabel(Colors::White);
    }
    if (select_.page() == StageSelect::Online && select_.online().empty())
        emptyOnline_->DrawLabel(Colors::White);
    if (select_.page() == StageSelect::Online && !select_.online().empty()) {
        publishedAt_->DrawLabel(Colors::White);
        if (publishedPage_ > 0) DrawMenuEntry(*publishedBack_, false);
        if (publishedMore_) DrawMenuEntry(*publishedOn_, false);
    }
    if (select_.page() == StageSelect::Shipped) total_->DrawLabel(Colors::White);
    DrawMenuEntry(*exit_, select_.lit() == select_.exitEntry());
    if (race_) DrawMenuEntry(*race_, session_.raceWorld);
    DrawHint(select_.page() == StageSelect::Online ? *onlineHint_ : *hint_);
    if (!locked_->Text().empty()) DrawLegibleLabel(*locked_, Colors::Yellow);
}
