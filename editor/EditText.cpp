#include "editor/EditText.h"

#include "lang/Translate.h"
#include "stage/FileAccess.h"
#include "stage/Utf.h"

#include <limits>

namespace {
bool isControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == 0x3000;
}

int digitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= 0xFF10 && c <= 0xFF19) return c - 0xFF10; // full-width, as a Japanese input method types them
    return -1;
}
} // namespace

std::u16string sanitizeTitle(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            out += c;
            out += text[++i];
        } else if (!isControl(c) && !isHighSurrogate(c) && !isLowSurrogate(c)) {
            out += c;
        }
    }
    const std::size_t first = out.find_first_not_of(u' ');
    if (first == std::u16string::npos) return {};
    return out.substr(first, out.find_last_not_of(u' ') - first + 1);
}

std::optional<std::int32_t> parseTimeLimit(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    if (i >= text.size() || digitValue(text[i]) < 0) return std::nullopt;
    // Accumulated as a magnitude that stops growing once it is past the range, so any number
    // of digits is read without overflow.
    constexpr std::int64_t Cap = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && digitValue(text[i]) >= 0; ++i)
        if (magnitude < Cap) magnitude = magnitude * 10 + digitValue(text[i]);
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return std::int32_t(value);
}

std::u16string describeFileError(const std::error_code& error, bool writing) {
    if (error == std::errc::no_space_on_device) return tr(u"ディスクの空きがありません");
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted)
        return writing ? tr(u"書き込みが許可されていません") : tr(u"読み込みが許可されていません");
    if (error == std::errc::read_only_file_system) return tr(u"読み取り専用の場所です");
    if (error == std::errc::no_such_file_or_directory)
        return writing ? tr(u"フォルダが見つかりません") : tr(u"ファイルが見つかりません");
    if (error == std::errc::is_a_directory) return tr(u"同じ名前のフォルダがあります");
    if (error == FileError::NotRegular) return tr(u"普通のファイルではありません");
    if (error == FileError::TooLarge) return tr(u"ファイルが大きすぎます");
    if (error == FileError::Link) return tr(u"シンボリックリンクは開きません");
    if (error == FileError::FolderNotOwned) return tr(u"フォルダが他のユーザーのものです");
    return error ? toUtf16(error.message()) : tr(u"原因不明のエラー");
}

std::u16string wrapPath(std::u16string_view path, std::size_t width) {
    std::u16string out;
    while (path.size() > width) {
        std::size_t cut = path.substr(0, width).find_last_of(u'/');
        cut = cut == std::u16string_view::npos || cut == 0 ? width : cut + 1;
        if (isHighSurrogate(path[cut - 1])) --cut;
        out.append(path.substr(0, cut)) += u'\n';
        path.remove_prefix(cut);
    }
    return out.append(path);
}
