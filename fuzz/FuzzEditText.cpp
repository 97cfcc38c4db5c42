// Any text typed into the editor's boxes: the edit line keeps its limit and never splits a
// surrogate pair whatever keys follow; a title is stored within the title box's limit, with no
// control characters or lone surrogates, and storing it again changes nothing; a time limit reads
// as the leading number clamped to 32 bits. Even bytes are UTF-16 units, odd ones edit keys.
#include "core/base/Utf.h"
#include "core/editor/EditLine.h"
#include "core/editor/EditText.h"
#include "core/stage/StageTitle.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {
bool splitsAPair(const std::u16string& text, std::size_t at) {
    return at > 0 && at < text.size() && isHighSurrogate(text[at - 1]) && isLowSurrogate(text[at]);
}

void checkLine(const EditLine& line) {
    if (line.Text().size() > MaxTitleUnits || line.Caret() > line.Text().size()) std::abort();
    if (splitsAPair(line.Text(), line.Caret())) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string typed;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        typed += char16_t(data[i] | data[i + 1] << 8);

    const std::u16string title = storableTitle(typed);
    if (title.size() > MaxTitleUnits || storableTitle(title) != title) std::abort();
    if (toUtf16(toUtf8(title)) != title) std::abort(); // no lone surrogate: the file keeps it whole

    const std::optional<std::int32_t> limit = parseTimeLimit(typed);
    if (limit && *limit != parseTimeLimit(typed + u"秒").value()) std::abort();

    // The box gets typed text through toUtf16 and its first text through storableTitle: never a
    // lone surrogate, which Insert could pair with a neighbour it was not typed with. Each piece
    // typed is converted the same way, as a text input event's UTF-8 is.
    const std::u16string wellFormed = toUtf16(toUtf8(typed));
    EditLine line(MaxTitleUnits);
    line.SetText(wellFormed);
    checkLine(line);
    for (std::size_t i = 0; i < size; ++i) {
        switch (data[i] % 8) {
        case 0:
            line.Insert(toUtf16(toUtf8(wellFormed.substr(i % (wellFormed.size() + 1), data[i] / 8))));
            break;
        case 1:
            line.Backspace();
            break;
        case 2:
            line.Delete();
            break;
        case 3:
            line.Left();
            break;
        case 4:
            line.Right();
            break;
        case 5:
            line.Home();
            break;
        case 6:
            line.End();
            break;
        default:
            line.SetText(std::u16string(line.Text())); // a copy: SetText clears the text first
            break;
        }
        checkLine(line);
    }
    return 0;
}
