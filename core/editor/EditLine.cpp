#include "core/editor/EditLine.h"

#include "core/base/Utf.h"

void EditLine::SetText(std::u16string_view text) {
    text_.clear();
    caret_ = anchor_ = 0;
    Insert(text);
}

std::size_t EditLine::Insert(std::u16string_view text) {
    EraseSelection();
    const std::size_t lineEnd = text.find_first_of(u"\r\n");
    if (lineEnd != std::u16string_view::npos) text = text.substr(0, lineEnd);
    std::size_t room = limit_ > text_.size() ? limit_ - text_.size() : 0;
    std::size_t n = text.size() < room ? text.size() : room;
    if (n > 0 && n < text.size() && isHighSurrogate(text[n - 1])) --n; // never keep half a pair
    text_.insert(caret_, text.substr(0, n));
    caret_ += n;
    anchor_ = caret_;
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

void EditLine::MoveTo(std::size_t caret, bool extend) {
    caret_ = caret;
    if (!extend) anchor_ = caret_;
}

void EditLine::EraseSelection() {
    const std::size_t start = SelectionStart();
    text_.erase(start, SelectionEnd() - start);
    caret_ = anchor_ = start;
}

void EditLine::Backspace() {
    if (HasSelection()) return EraseSelection();
    if (caret_ == 0) return;
    const std::size_t n = UnitsBeforeCaret();
    caret_ -= n;
    anchor_ = caret_;
    text_.erase(caret_, n);
}

void EditLine::Delete() {
    if (HasSelection()) return EraseSelection();
    if (caret_ < text_.size()) text_.erase(caret_, UnitsAtCaret());
}

void EditLine::Left(bool extend) {
    if (HasSelection() && !extend) return MoveTo(SelectionStart(), false);
    MoveTo(caret_ > 0 ? caret_ - UnitsBeforeCaret() : 0, extend);
}

void EditLine::Right(bool extend) {
    if (HasSelection() && !extend) return MoveTo(SelectionEnd(), false);
    MoveTo(caret_ < text_.size() ? caret_ + UnitsAtCaret() : caret_, extend);
}

void EditLine::SelectAll() {
    anchor_ = 0;
    caret_ = text_.size();
}
