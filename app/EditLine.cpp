#include "app/EditLine.h"

#include "stage/Utf.h"

void EditLine::SetText(std::u16string_view text) {
    text_.clear();
    caret_ = 0;
    Insert(text);
}

std::size_t EditLine::Insert(std::u16string_view text) {
    const std::size_t lineEnd = text.find_first_of(u"\r\n");
    if (lineEnd != std::u16string_view::npos) text = text.substr(0, lineEnd);
    std::size_t room = limit_ > text_.size() ? limit_ - text_.size() : 0;
    std::size_t n = text.size() < room ? text.size() : room;
    if (n > 0 && n < text.size() && isHighSurrogate(text[n - 1])) --n; // never keep half a pair
    text_.insert(caret_, text.substr(0, n));
    caret_ += n;
    return n;
}

std::size_t EditLine::UnitsBeforeCaret() const {
    return caret_ >= 2 && isLowSurrogate(text_[caret_ - 1]) && isHighSurrogate(text_[caret_ - 2]) ? 2 : 1;
}

std::size_t EditLine::UnitsAtCaret() const {
    return caret_ + 1 < text_.size() && isHighSurrogate(text_[caret_]) && isLowSurrogate(text_[caret_ + 1])
               ? 2
               : 1;
}

void EditLine::Backspace() {
    if (caret_ == 0) return;
    const std::size_t n = UnitsBeforeCaret();
    caret_ -= n;
    text_.erase(caret_, n);
}

void EditLine::Delete() {
    if (caret_ < text_.size()) text_.erase(caret_, UnitsAtCaret());
}

void EditLine::Left() {
    if (caret_ > 0) caret_ -= UnitsBeforeCaret();
}

void EditLine::Right() {
    if (caret_ < text_.size()) caret_ += UnitsAtCaret();
}
