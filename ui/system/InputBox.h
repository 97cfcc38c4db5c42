#pragma once
// The text-input box: the prompt as its caption, one edit line holding the initial text, OK
// and Cancel. OK (button or Enter) assigns the text and returns true; Cancel (button, Escape,
// close request) returns false and leaves the result untouched.
#include <string>

namespace Lib::System {

class CInputBox {
public:
    static constexpr std::size_t MaxUnits = 255;

    CInputBox(std::u16string& result, const char16_t* prompt, const char16_t* initialText)
        : result_(result), prompt_(prompt), initialText_(initialText) {}
    bool DoModal();

private:
    std::u16string& result_;
    const char16_t* prompt_;
    const char16_t* initialText_;
};

} // namespace Lib::System

bool InputBox(const char16_t* prompt, const char16_t* initialText, std::u16string& result);
