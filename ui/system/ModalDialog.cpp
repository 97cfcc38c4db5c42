#include "ui/system/ModalDialog.h"

#include "core/lang/Translate.h"
#include "core/stage/View.h"
#include "ui/render/ButtonPalette.h"
#include "ui/render/Draw.h"
#include "ui/system/GameSystem.h"

namespace Lib::System {
namespace {
constexpr Color32 Dim = makeColor(0, 0, 0, 150);
constexpr Color32 PanelColor = makeColor(16, 16, 24, 240);
constexpr Color32 BorderColor = makeColor(255, 255, 255, 200);
constexpr Color32 CaptionBar = makeColor(128, 128, 0, 255);
constexpr float ButtonTextScale = 0.6f;
} // namespace

DialogResult ModalDialog::RunModal() {
    GameSystem* system = TheGameSystem;
    if (!system || !platform::hasWindow()) return DialogResult::Cancel;
    platform::InputSnapshot snap = platform::takeInputSnapshot();
    bool leftWasDown = snap.buttons[MouseLeft]; // the click that opened the box is not a press here
    const std::uint64_t start = platform::nowUs();
    for (std::uint64_t frame = 1; !done_; ++frame) {
        platform::Event event;
        while (!done_ && platform::pollEvent(event)) {
            switch (event.kind) {
            case platform::EventKind::CloseRequest:
                EndDialog(DialogResult::Cancel);
                break;
            case platform::EventKind::Terminate: // close the box, then the game
                EndDialog(DialogResult::Cancel);
                system->QuitRequested = true;
                break;
            case platform::EventKind::Resized:
            case platform::EventKind::FocusGained:
            case platform::EventKind::FocusLost:
            case platform::EventKind::DropFile: // kept for the scene below, which takes it after the box
            case platform::EventKind::FileArrived:
                system->window->HandleEvent(event);
                break;
            case platform::EventKind::Wheel: // turned at the box: not for the scene behind it
                break;
            default:
                OnEvent(event);
                break;
            }
        }
        snap = platform::takeInputSnapshot();
        const Vec2 cursor = CursorToView(snap.cursorX, snap.cursorY, system->View());
        if (!done_ && snap.buttons[MouseLeft] && !leftWasDown) OnPress(cursor);
        leftWasDown = snap.buttons[MouseLeft];

        system->cameraStack.ResetView();
        if (system->handler)
            system->handler->Redraw();
        else
            ClearScreen(Colors::Black);
        DrawDialog(cursor);
        system->window->SwapBuffers();
        platform::sleepUntilUs(start + frame * 1'000'000 / 60, 0);
    }
    system->SettleInput();
    // Play stands still while a box is open, and stays paused after it as P pauses it: the
    // player's hand was on the box, not the bar.
    system->pauseRequested = true;
    if (system->handler) system->handler->AfterModal();
    return result_;
}

DialogButton::DialogButton(const Rect& box, std::u16string_view text) : box_(box) {
    label_ = std::make_unique<TextLabel>(*TheGameSystem->glyphCache,
                                         Vec2{box.centerX, box.centerY - 32.0f * ButtonTextScale * 0.3f},
                                         ButtonTextScale, TextAlign::Center);
    label_->SetText(text);
}

void DialogButton::Draw(bool hovered, bool isDefault) {
    FillRect(box_, hovered ? LitButton : UnlitButton);
    if (isDefault) DrawOutline(box_, Colors::White);
    label_->DrawLabel(hovered ? ButtonText : UnlitBoxButtonText);
}

void OkCancelDialog::SetButtons(const Rect& ok, const Rect& cancel, DialogResult defaultButton) {
    ok_ = std::make_unique<DialogButton>(ok, u"OK");
    cancel_ = std::make_unique<DialogButton>(cancel, tr(u"キャンセル"));
    default_ = defaultButton;
}

void OkCancelDialog::SetOkButton(const Rect& ok) {
    ok_ = std::make_unique<DialogButton>(ok, u"OK");
    cancel_.reset();
    default_ = DialogResult::Ok;
}

void OkCancelDialog::OnPress(Vec2 cursor) {
    if (ok_->Contains(cursor))
        EndDialog(DialogResult::Ok);
    else if (cancel_ && cancel_->Contains(cursor))
        EndDialog(DialogResult::Cancel);
}

void OkCancelDialog::DrawButtons(Vec2 cursor) {
    // The default is the keyboard's highlight, lit while the pointer rests on no button.
    const bool pointed = ok_->Contains(cursor) || (cancel_ && cancel_->Contains(cursor));
    const auto lit = [&](const DialogButton& b, DialogResult r) {
        return pointed ? b.Contains(cursor) : default_ == r;
    };
    ok_->Draw(lit(*ok_, DialogResult::Ok), default_ == DialogResult::Ok);
    if (cancel_) cancel_->Draw(lit(*cancel_, DialogResult::Cancel), default_ == DialogResult::Cancel);
}

bool OkCancelDialog::IsPlainEnter(const platform::Event& event) {
    return event.kind == platform::EventKind::KeyDown && event.key == platform::Key::Return && !event.alt &&
           !event.ctrl && !event.repeat;
}

void OkCancelDialog::SwitchDefault() {
    if (cancel_) default_ = default_ == DialogResult::Ok ? DialogResult::Cancel : DialogResult::Ok;
}

void DrawDialogFrame(const Rect& panel, float captionHeight, TextLabel& caption) {
    FillRect(ViewRect, Dim);
    FillRect(panel, PanelColor);
    FillRect(Rect(panel.left, panel.top - captionHeight, panel.right, panel.top), CaptionBar);
    DrawOutline(panel, BorderColor);
    caption.DrawLabel(Colors::Black);
}

} // namespace Lib::System
