#include "core/editor/EditText.h"

#include "core/base/FileAccess.h"
#include "core/base/TextScan.h"
#include "core/base/Utf.h"
#include "core/lang/Translate.h"
#include "core/stage/StageFile.h"

#include <limits>

namespace {
int digitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= 0xFF10 && c <= 0xFF19) return c - 0xFF10; // full-width, as a Japanese input method types them
    return -1;
}
} // namespace

std::optional<std::int32_t> parseTimeLimit(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isTypedBlank(text[i]))
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
    if (error == StageError::TitleTooLong) return tr(u"ステージ名が長すぎます（255文字まで）");
    if (error == StageError::TitleNotStorable) return tr(u"ステージ名に保存できない文字があります");
    if (error == StageError::NumberNotFinite) return tr(u"座標が大きすぎるか、数ではありません");
    if (error == StageError::NotAStage) return tr(u"ステージのファイルではありません");
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
