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

void EditLine::Backspace() {
    if (caret_ == 0) return;
    const std::size_t from =
        caret_ >= 2 && isLowSurrogate(text_[caret_ - 1]) && isHighSurrogate(text_[caret_ - 2]) ? caret_ - 2
                                                                                               : caret_ - 1;
    text_.erase(from, caret_ - from);
    caret_ = from;
}

void EditLine::Delete() {
    if (caret_ >= text_.size()) return;
    const std::size_t n =
        caret_ + 1 < text_.size() && isHighSurrogate(text_[caret_]) && isLowSurrogate(text_[caret_ + 1]) ? 2
                                                                                                         : 1;
    text_.erase(caret_, n);
}

void EditLine::Left() {
    if (caret_ == 0) return;
    caret_ -= caret_ >= 2 && isLowSurrogate(text_[caret_ - 1]) && isHighSurrogate(text_[caret_ - 2]) ? 2 : 1;
}

void EditLine::Right() {
    if (caret_ >= text_.size()) return;
    caret_ += caret_ + 1 < text_.size() && isHighSurrogate(text_[caret_]) && isLowSurrogate(text_[caret_ + 1])
                  ? 2
                  : 1;
}
