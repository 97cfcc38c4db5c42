#pragma once
// A box drawn by the game over its current picture, with a loop of its own: events are handled
// and the picture redrawn about 60 times a second, but no scene is updated until it closes.
#include "core/base/Color.h"
#include "core/stage/Geometry.h"
#include "ui/platform/Platform.h"
#include "ui/render/TextLabel.h"

#include <memory>
#include <string_view>

namespace Lib::System {

enum class DialogResult { Ok, Cancel };

class ModalDialog {
public:
    virtual ~ModalDialog() = default;
    // Runs until the box is closed. Without a window (or GL) the answer is Cancel.
    DialogResult RunModal();

protected:
    virtual void OnEvent(const platform::Event& event) = 0;
    virtual void OnPress(Vec2 cursor) = 0; // a left-button press, view units
    virtual void DrawDialog(Vec2 cursor) = 0;
    void EndDialog(DialogResult result) {
        result_ = result;
        done_ = true;
    }

private:
    DialogResult result_ = DialogResult::Cancel;
    bool done_ = false;
};

// A push button in the game's style: yellow under the cursor, olive otherwise.
class DialogButton {
public:
    DialogButton(const Rect& box, std::u16string_view text);
    bool Contains(Vec2 p) const { return box_.containsStrictly(p); }
    void Draw(bool hovered, bool isDefault);

private:
    Rect box_;
    std::unique_ptr<TextLabel> label_;
};

// A box closed by its OK and Cancel buttons (besides whatever keys the box itself takes). One
// of them is the default, outlined, which Enter answers.
class OkCancelDialog : public ModalDialog {
protected:
    void SetButtons(const Rect& ok, const Rect& cancel, DialogResult defaultButton = DialogResult::Ok);
    void SetOkButton(const Rect& ok); // a box with OK alone
    void OnPress(Vec2 cursor) override;
    void DrawButtons(Vec2 cursor);
    // Return alone, pressed now: Alt+Return is the full-screen chord and an auto-repeat
    // belongs to a key held since before the box, so neither may answer it.
    static bool IsPlainEnter(const platform::Event& event);
    DialogResult DefaultButton() const { return default_; }
    // Tab and the arrow keys move the default (the highlight) between the buttons; Return, or Z
    // in a box with no edit line, answers it.
    void SwitchDefault();

private:
    std::unique_ptr<DialogButton> ok_, cancel_;
    DialogResult default_ = DialogResult::Ok;
};

// The box's frame: the dimmed picture, the panel, its border and the caption bar with its text.
void DrawDialogFrame(const Rect& panel, float captionHeight, TextLabel& caption);

} // namespace Lib::System
