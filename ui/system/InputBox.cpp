#include "ui/system/InputBox.h"

#include "core/base/Utf.h"
#include "core/editor/EditLine.h"
#include "core/stage/View.h"
#include "ui/system/GameSystem.h"
#include "ui/system/InputBoxTemplate.h"
#include "ui/system/ModalDialog.h"

#include <algorithm>

namespace Lib::System {
namespace {
constexpr float TextScale = 0.6f;
constexpr float FieldPadding = 6.0f;
constexpr Color32 FieldColor = makeColor(0, 0, 0, 255);
constexpr Color32 CompositionColor = makeColor(255, 255, 0, 255);
constexpr Color32 SelectionColor = makeColor(40, 90, 200, 255);

// A template item's rectangle in view units, for a box centred on the screen.
Rect itemRect(const DialogItem& item, const Rect& client) {
    const float left = client.left + float(item.x) * DialogUnitX;
    const float top = client.top - float(item.y) * DialogUnitY;
    return Rect(left, top - float(item.height) * DialogUnitY, left + float(item.width) * DialogUnitX, top);
}

class InputBoxDialog : public OkCancelDialog {
public:
    InputBoxDialog(const char16_t* prompt, const char16_t* initialText) : edit_(CInputBox::MaxUnits) {
        const DialogTemplate& t = InputBoxTemplate;
        const float w = float(t.width) * DialogUnitX, h = float(t.height) * DialogUnitY + DialogCaptionHeight;
        panel_ = Rect(-w * 0.5f, -h * 0.5f, w * 0.5f, h * 0.5f);
        const Rect client(panel_.left, panel_.bottom, panel_.right, panel_.top - DialogCaptionHeight);
        field_ = itemRect(t.edit, client);
        GlyphCache& cache = *TheGameSystem->glyphCache;
        caption_ = std::make_unique<TextLabel>(
            cache, Vec2{panel_.left + 14.0f, panel_.top - DialogCaptionHeight + 10.0f}, 0.65f,
            TextAlign::Left);
        caption_->SetText(prompt ? prompt : t.caption);
        text_ = std::make_unique<TextLabel>(cache, Vec2{}, TextScale, TextAlign::Left);
        composition_ = std::make_unique<TextLabel>(cache, Vec2{}, TextScale, TextAlign::Left);
        SetButtons(itemRect(t.ok, client), itemRect(t.cancel, client));
        if (initialText) edit_.SetText(initialText);
        edit_.SelectAll(); // the old text goes as soon as the player types
        text_->SetText(edit_.Text());
    }

    const std::u16string& Text() const { return edit_.Text(); }

protected:
    void OnEvent(const platform::Event& event) override {
        using platform::EventKind;
        using platform::Key;
        if (event.kind == EventKind::TextInput) {
            edit_.Insert(toUtf16(event.text));
            composing_.clear();
        } else if (event.kind == EventKind::TextEditing) {
            composing_ = toUtf16(event.text);
            composingCursor_ = std::size_t(std::max(0, event.editCursor));
        } else if (IsPlainEnter(event) && composing_.empty()) {
            EndDialog(DialogResult::Ok);
        } else if (event.kind == EventKind::KeyDown && composing_.empty()) {
            switch (event.key) {
            case Key::Escape:
                EndDialog(DialogResult::Cancel);
                break;
            case Key::Backspace:
                edit_.Backspace();
                break;
            case Key::Delete:
                edit_.Delete();
                break;
            case Key::Left:
                edit_.Left(event.shift);
                break;
            case Key::Right:
                edit_.Right(event.shift);
                break;
            case Key::Home:
                edit_.Home(event.shift);
                break;
            case Key::End:
                edit_.End(event.shift);
                break;
            case Key::V:
                if (event.ctrl) edit_.Insert(toUtf16(platform::clipboardText()));
                break;
            case Key::A:
                if (event.ctrl) edit_.SelectAll();
                break;
            default:
                break;
            }
        }
        if (text_->Text() != edit_.Text()) text_->SetText(edit_.Text());
        if (composition_->Text() != composing_) composition_->SetText(composing_);
    }

    void DrawDialog(Vec2 cursor) override {
        DrawDialogFrame(panel_, DialogCaptionHeight, *caption_);
        FillRect(field_, FieldColor);
        DrawOutline(field_, Colors::White);
        DrawFieldText();
        DrawButtons(cursor);
        ++blink_;
    }

private:
    // The text scrolls sideways so the caret stays in the field; the field clips it.
    void DrawFieldText() {
        const float baseline = field_.bottom + (field_.top - field_.bottom) * 0.5f - 32.0f * TextScale * 0.3f;
        const float inner = field_.right - field_.left - 2 * FieldPadding;
        text_->SetPosition({0.0f, baseline});
        const float caretOffset = text_->PenX(edit_.Caret());
        composition_->SetPosition({0.0f, baseline});
        const float compositionWidth = composing_.empty() ? 0.0f : composition_->PenX(composing_.size());
        scroll_ = std::clamp(scroll_, caretOffset + compositionWidth - inner, caretOffset);
        scroll_ = std::max(scroll_, 0.0f);
        const float origin = field_.left + FieldPadding - scroll_;

        BeginClip(field_);
        text_->SetPosition({origin, baseline});
        const float caretX = text_->PenX(edit_.Caret());
        if (edit_.HasSelection())
            FillRect(Rect(text_->PenX(edit_.SelectionStart()), field_.bottom + 4.0f,
                          text_->PenX(edit_.SelectionEnd()), field_.top - 4.0f),
                     SelectionColor);
        text_->DrawLabel(Colors::White);
        if (!composing_.empty()) {
            // The composition is drawn in place at the caret, underlined, over the committed text.
            composition_->SetPosition({caretX, baseline});
            FillRect(Rect(caretX, field_.bottom + 3.0f, caretX + compositionWidth, field_.top - 3.0f),
                     FieldColor);
            composition_->DrawLabel(CompositionColor);
            FillRect(Rect(caretX, baseline - 4.0f, caretX + compositionWidth, baseline - 2.5f),
                     CompositionColor);
            const float compositionCaret = composition_->PenX(composingCursor_);
            FillRect(Rect(compositionCaret, field_.bottom + 5.0f, compositionCaret + 1.5f, field_.top - 5.0f),
                     CompositionColor);
        } else if ((blink_ / 30) % 2 == 0) {
            FillRect(Rect(caretX, field_.bottom + 5.0f, caretX + 1.5f, field_.top - 5.0f), Colors::White);
        }
        glDisable(GL_SCISSOR_TEST);
    }

    static void BeginClip(const Rect& r) {
        const GameSystem& gs = *TheGameSystem;
        const Viewport v = ComputeViewport(gs.viewWidth, gs.viewHeight, gs.baseWidth, gs.baseHeight);
        const float s = v.scale;
        glEnable(GL_SCISSOR_TEST);
        glScissor(v.x + int((r.left - ViewRect.left) * s), v.y + int((r.bottom - ViewRect.bottom) * s),
                  int((r.right - r.left) * s), int((r.top - r.bottom) * s));
    }

    Rect panel_, field_;
    EditLine edit_;
    std::u16string composing_;
    std::size_t composingCursor_ = 0;
    float scroll_ = 0.0f;
    int blink_ = 0;
    std::unique_ptr<TextLabel> caption_, text_, composition_;
};
} // namespace

bool CInputBox::DoModal() {
    if (!TheGameSystem) return false;
    InputBoxDialog dialog(prompt_, initialText_);
    const GameSystem& gs = *TheGameSystem;
    // The input method works only while the box is open, or it would swallow the game's keys.
    platform::startTextInput(gs.viewWidth / 2 - 260, gs.viewHeight / 2 - 20, 520, 40);
    const DialogResult answer = dialog.RunModal();
    platform::stopTextInput();
    if (answer != DialogResult::Ok) return false;
    result_ = dialog.Text();
    return true;
}

} // namespace Lib::System

bool InputBox(const char16_t* prompt, const char16_t* initialText, std::u16string& result) {
    Lib::System::CInputBox box(result, prompt, initialText);
    return box.DoModal();
}
