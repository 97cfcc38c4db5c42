#include "ui/system/MessageBox.h"

#include "ui/platform/Platform.h"
#include "ui/render/MenuEntry.h"
#include "ui/system/GameSystem.h"
#include "ui/system/ModalDialog.h"

#include <string>
#include <vector>

namespace Lib::System {
namespace {
constexpr float PanelWidth = 560.0f;
constexpr float CaptionHeight = 34.0f;
constexpr float LineHeight = 30.0f;
constexpr float TextScale = 0.7f;
constexpr float TextMargin = 16.0f; // between a line and the panel's sides
constexpr float ButtonWidth = 140.0f, ButtonHeight = 42.0f;

class MessageBoxDialog : public OkCancelDialog {
public:
    MessageBoxDialog(std::u16string_view text, std::u16string_view caption, MessageBoxStyle style)
        : zAnswers_(style == MessageBoxStyle::Ok) {
        GlyphCache& cache = *TheGameSystem->glyphCache;
        std::vector<std::u16string_view> lines;
        for (size_t start = 0;;) {
            const size_t end = text.find(u'\n', start);
            lines.push_back(text.substr(start, end == std::u16string_view::npos ? end : end - start));
            if (end == std::u16string_view::npos) break;
            start = end + 1;
        }
        const float height = CaptionHeight + 36.0f + LineHeight * float(lines.size()) + ButtonHeight + 30.0f;
        panel_ = Rect(-PanelWidth * 0.5f, -height * 0.5f, PanelWidth * 0.5f, height * 0.5f);
        caption_ = std::make_unique<TextLabel>(
            cache, Vec2{panel_.left + 14.0f, panel_.top - CaptionHeight + 10.0f}, 0.65f, TextAlign::Left);
        caption_->SetText(caption);
        float y = panel_.top - CaptionHeight - 36.0f;
        for (std::u16string_view line : lines) {
            auto label = std::make_unique<TextLabel>(cache, Vec2{0.0f, y}, TextScale, TextAlign::Center);
            label->SetText(line);
            // Too wide for the panel (a long title, a name of wide letters): cut with "…" inside it.
            if (label->Bounds().right > panel_.right - TextMargin)
                label = CreateFittedLabel(cache, line, {panel_.left + TextMargin, y}, TextScale,
                                          panel_.right - TextMargin);
            lines_.push_back(std::move(label));
            y -= LineHeight;
        }
        const float by = panel_.bottom + 20.0f;
        if (style == MessageBoxStyle::Ok)
            SetOkButton(Rect(-ButtonWidth * 0.5f, by, ButtonWidth * 0.5f, by + ButtonHeight));
        else
            SetButtons(Rect(-ButtonWidth - 10.0f, by, -10.0f, by + ButtonHeight),
                       Rect(10.0f, by, ButtonWidth + 10.0f, by + ButtonHeight),
                       style == MessageBoxStyle::OkCancelDefaultCancel ? DialogResult::Cancel
                                                                       : DialogResult::Ok);
    }

protected:
    void OnEvent(const platform::Event& event) override {
        using platform::Key;
        if (event.kind != platform::EventKind::KeyDown) return;
        const bool plainZ = event.pivot && !event.repeat && !event.ctrl && !event.alt;
        // A gamepad's A is the pad's way to choose: it answers at once, as Enter does.
        if (IsPlainEnter(event) || (plainZ && (zAnswers_ || event.gamepad)))
            EndDialog(DefaultButton());
        else if (event.key == Key::Escape)
            EndDialog(DialogResult::Cancel);
        else if (event.key == Key::Tab || event.key == Key::Left || event.key == Key::Right ||
                 event.key == Key::Up || event.key == Key::Down) {
            SwitchDefault();
            zAnswers_ = true;
        }
    }

    void DrawDialog(Vec2 cursor) override {
        DrawDialogFrame(panel_, CaptionHeight, *caption_);
        for (auto& line : lines_)
            line->DrawLabel(Colors::White);
        DrawButtons(cursor);
    }

private:
    // Z is also the bar's pivot key: from the keyboard it answers a question only once the player
    // has moved the highlight, so a tap meant for the bar never quits the game.
    bool zAnswers_;
    Rect panel_;
    std::unique_ptr<TextLabel> caption_;
    std::vector<std::unique_ptr<TextLabel>> lines_;
};
} // namespace
} // namespace Lib::System

MessageBoxResult ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                                MessageBoxStyle style) {
    if (!TheGameSystem) return MessageBoxResult::Cancel;
    Lib::System::MessageBoxDialog box(text, caption, style);
    return box.RunModal() == Lib::System::DialogResult::Ok ? MessageBoxResult::Ok : MessageBoxResult::Cancel;
}
