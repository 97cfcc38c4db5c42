#include "ui/screens/SceneOptions.h"

#include "core/base/Capabilities.h"
#include "core/base/Utf.h"
#include "core/lang/LanguageChoice.h"
#include "core/lang/Translate.h"
#include "ui/render/Draw.h"
#include "ui/render/MenuEntry.h"
#include "ui/scene/SceneMaster.h"
#include "ui/sound/Sound.h"
#include "ui/system/InputBox.h"
#include "ui/system/MessageBox.h"

#include <algorithm>

namespace {
constexpr float RowLeft = -340.0f;
constexpr float RowRight = 340.0f;
constexpr float RowTop = 160.0f;
constexpr float RowPitch = 56.0f;
constexpr float RowHeight = 44.0f;
constexpr float TextScale = 0.8f;
constexpr float ServerLeft = -40.0f;

const char16_t* const RowNames[SceneOptions::RowCount] = {
    N_(u"音楽の音量"), N_(u"効果音の音量"),   N_(u"起動時にフルスクリーン"),
    N_(u"言語"),       N_(u"オンライン記録"), N_(u"記録サーバー"),
    N_(u"戻る"),
};

// Languages are named in themselves, so a player who cannot read the current one finds theirs.
std::u16string languageName(const std::string& language) {
    if (language.empty()) return tr(u"環境に従う");
    if (language == "ja") return u"日本語";
    if (language == "en") return u"English";
    return std::u16string(language.begin(), language.end()); // a language name is ASCII
}

std::u16string volumeText(int volume) {
    if (volume == 0) return tr(u"消音");
    return std::u16string(std::size_t(volume), u'■') +
           std::u16string(std::size_t(Settings::MaxVolume - volume), u'□');
}
} // namespace

// The settings in use, not the file's: another running copy may have written that since.
SceneOptions::SceneOptions(SceneMaster* master)
    : master_(master), context_(master->Context()), settings_(context_.settings), kept_(settings_) {
    const std::vector<std::string> all = gameLanguages();
    languages_.assign(all.begin(), all.end());
    MakeLabels();
}

SceneOptions::~SceneOptions() {
    Keep(); // the game ended on this screen: what was chosen still counts
}

Rect SceneOptions::RowBox(int row) {
    const float top = RowTop - RowPitch * float(row) - (row == Back ? RowPitch / 2.0f : 0.0f);
    const float halfWidth = row == Back ? 120.0f : RowRight;
    return Rect(row == Back ? -halfWidth : RowLeft, top - RowHeight, halfWidth, top);
}

void SceneOptions::MakeLabels() {
    GlyphCache& cache = context_.glyphs;
    heading_ = CreateLabel(cache, {N_(u"設定"), 0.0f, 200.0f, 1.2f, TextAlign::Center});
    hint_ = CreateHintLabel(
        cache, tr(u"↑↓：項目を選ぶ　←→・クリック・右クリック：値を変える　BackSpace：タイトルに戻る"));
    for (int row = 0; row < RowCount; ++row) {
        const Rect box = RowBox(row);
        const float y = box.bottom + 12.0f;
        names_[std::size_t(row)] =
            row == Back ? CreateLabel(cache, {RowNames[row], 0.0f, y, TextScale, TextAlign::Center})
                        : CreateLabel(cache, {RowNames[row], RowLeft + 16.0f, y, TextScale, TextAlign::Left});
        if (row != Back)
            values_[std::size_t(row)] =
                std::make_unique<TextLabel>(cache, Vec2{RowRight - 16.0f, y}, TextScale, TextAlign::Right);
    }
    ShowValues();
}

void SceneOptions::ShowValues() {
    values_[0]->SetText(volumeText(settings_.musicVolume));
    values_[1]->SetText(volumeText(settings_.soundVolume));
    values_[2]->SetText(settings_.fullScreen ? tr(u"オン") : tr(u"オフ"));
    values_[3]->SetText(languageName(settings_.language));
    values_[4]->SetText(settings_.onlineRecords ? tr(u"オン") : tr(u"オフ"));
    // An address may be long: it starts at the middle and ends in "…" at the row's edge.
    const std::u16string server =
        PlatformIsServedPage ? tr(u"このページのサーバー") : toUtf16(settings_.serverAddress);
    const Rect box = RowBox(int(SettingRow::Server));
    values_[5] = CreateFittedLabel(context_.glyphs, server, {ServerLeft, box.bottom + 12.0f}, TextScale,
                                   RowRight - 16.0f);
}

void SceneOptions::Update() {
    using platform::Key;
    const MouseState& mouse = context_.mouse;
    const KeyState& keys = context_.keys;
    if (keys.Typed(Key::Backspace)) {
        Leave();
        return;
    }
    const Vec2 p = screenToWorld(mouse.cursor, DefaultCamera);
    int under = -1;
    for (int row = 0; row < RowCount; ++row)
        if (RowBox(row).containsStrictly(p)) under = row;
    // The pointer leads again once the player moves it onto a row; a window that changed size
    // (full screen on or off) moves the pointer's place on the screen, but not the player's hand.
    const bool resized = context_.viewWidth != viewWidth_ || context_.viewHeight != viewHeight_;
    viewWidth_ = context_.viewWidth;
    viewHeight_ = context_.viewHeight;
    if (!(mouse.cursor == mouse.previousCursor) && !resized && under >= 0) keyed_ = -1;
    const int stepped = keys.StepHighlight(keyed_ >= 0 ? keyed_ : under, RowCount, Key::Up, Key::Down);
    if (stepped != (keyed_ >= 0 ? keyed_ : under)) keyed_ = stepped;
    hot_ = keyed_ >= 0 ? keyed_ : under;
    if (hot_ < 0) return;
    // A click (or Z, Return) steps on, the right button (or X) steps back, and so do the arrows and
    // the wheel; a volume stops at its ends. The row changed stays lit.
    int step = 0;
    const bool wrap = false;
    if (mouse.Pressed(MouseLeft) || keys.Typed(Key::Return)) {
        if (hot_ == Back) {
            Leave();
            return;
        }
        if (hot_ == int(SettingRow::Server)) {
            keyed_ = hot_;
            EditServer();
            return;
        }
        step = 1;
        keyed_ = hot_;
    } else if (mouse.Pressed(MouseRight)) {
        step = -1;
        keyed_ = hot_;
    } else {
        for (const KeyPress& press : keys.presses)
            step += press.key == Key::Right ? 1 : press.key == Key::Left ? -1 : 0;
        step += under == hot_ ? mouse.wheel : 0;
    }
    if (step != 0 && hot_ != Back) Step(hot_, step, wrap);
}

void SceneOptions::EditServer() {
    if (PlatformIsServedPage) return;
    std::u16string address = toUtf16(settings_.serverAddress);
    const std::u16string prompt = tr(u"記録サーバーのアドレス（例：http://127.0.0.1:8080）");
    do {
        if (!InputBox(prompt.c_str(), address.c_str(), address)) return;
    } while (!online::isServerAddress(toUtf8(address)));
    if (toUtf8(address) == settings_.serverAddress) return;
    settings_.serverAddress = toUtf8(address);
    changed_ = true;
    context_.online.Follow(settings_);
    ShowValues();
}

void SceneOptions::Step(int row, int step, bool wrap) {
    const Settings before = settings_;
    for (int i = 0; i < std::abs(step); ++i)
        stepSetting(settings_, SettingRow(row), step > 0 ? 1 : -1, wrap, languages_);
    if (settings_ == before) return;
    changed_ = true;
    PlaySound(SoundId::click, false);
    switch (SettingRow(row)) {
    case SettingRow::Music:
    case SettingRow::Sound:
        SetSoundVolumes(settings_.musicVolume, settings_.soundVolume);
        break;
    case SettingRow::FullScreen:
        context_.window.SetFullScreen(settings_.fullScreen);
        break;
    case SettingRow::Language:
        ChangeLanguage(settings_.language);
        MakeLabels(); // every text of this screen in the new language
        break;
    case SettingRow::Online:
        context_.online.Follow(settings_);
        break;
    case SettingRow::Server:
        break;
    }
    ShowValues();
}

bool SceneOptions::Keep() {
    if (!changed_) return true;
    changed_ = false; // asked once: a failure is said, not repeated on every way out
    context_.settings = settings_;
    // Only what changed here, over the file as it is now: another copy's change there stays.
    const bool saved = saveSettingChanges(settingsPath(), kept_, settings_);
    kept_ = settings_;
    return saved;
}

void SceneOptions::Leave() {
    PlaySound(SoundId::enter, false);
    if (!Keep())
        ShowMessageBox(tr(u"設定を保存できませんでした\n今回の設定は次の起動には残りません"), u"WARNING",
                       MessageBoxStyle::Ok);
    master_->PopScene();
}

void SceneOptions::Draw() const {
    ClearScreen(Colors::Black);
    heading_->DrawLabel(Colors::White);
    DrawHint(*hint_);
    for (int row = 0; row < RowCount; ++row) {
        const TextLabel* name = names_[std::size_t(row)].get();
        if (row == Back)
            DrawMenuRow(RowBox(row), {name}, row == hot_);
        else
            DrawMenuRow(RowBox(row), {name, values_[std::size_t(row)].get()}, row == hot_);
    }
}
