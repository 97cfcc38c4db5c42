#pragma once
// The text of a one-line edit field with its caret and selection, limited to a number of UTF-16
// units. Surrogate pairs are kept whole by every edit and caret move.
#include <cstddef>
#include <string>
#include <string_view>

class EditLine {
public:
    explicit EditLine(std::size_t limit) : limit_(limit) {}

    void SetText(std::u16string_view text); // cut to the limit, caret at the end, nothing selected
    // Replaces the selection with as much as fits, stopping at a line break; returns units inserted.
    std::size_t Insert(std::u16string_view text);
    // Each deletes the selection if there is one, else one character.
    void Backspace();
    void Delete();
    // The caret moves; with `extend` the selection's far end goes with it, without it the
    // selection ends (Left and Right then stop at its near side, as every text field does).
    void Left(bool extend = false);
    void Right(bool extend = false);
    void Home(bool extend = false) { MoveTo(0, extend); }
    void End(bool extend = false) { MoveTo(text_.size(), extend); }
    void SelectAll();

    const std::u16string& Text() const { return text_; }
    std::size_t Caret() const { return caret_; }
    // The selected units are [SelectionStart, SelectionEnd); equal when nothing is selected.
    std::size_t SelectionStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
    std::size_t SelectionEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
    bool HasSelection() const { return anchor_ != caret_; }

private:
    // Units of the character just before / at the caret: 2 for a whole surrogate pair, else 1.
    std::size_t UnitsBeforeCaret() const;
    std::size_t UnitsAtCaret() const;
    void MoveTo(std::size_t caret, bool extend);
    void EraseSelection();

    std::u16string text_;
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0; // the selection's fixed end; the caret is its moving end
    std::size_t limit_;
};
