#pragma once
// The text of a one-line edit field with its caret, limited to a number of UTF-16 units.
// Surrogate pairs are kept whole by every edit and caret move.
#include <cstddef>
#include <string>
#include <string_view>

class EditLine {
public:
    explicit EditLine(std::size_t limit) : limit_(limit) {}

    void SetText(std::u16string_view text); // cut to the limit, caret at the end
    // Inserts at the caret as much as fits, stopping at a line break; returns units inserted.
    std::size_t Insert(std::u16string_view text);
    void Backspace();
    void Delete();
    void Left();
    void Right();
    void Home() { caret_ = 0; }
    void End() { caret_ = text_.size(); }

    const std::u16string& Text() const { return text_; }
    std::size_t Caret() const { return caret_; }

private:
    // Units of the character just before / at the caret: 2 for a whole surrogate pair, else 1.
    std::size_t UnitsBeforeCaret() const;
    std::size_t UnitsAtCaret() const;

    std::u16string text_;
    std::size_t caret_ = 0;
    std::size_t limit_;
};
