#include "core/lang/MoCatalog.h"

#include "core/base/Utf.h"

#include <cstdint>

namespace {
constexpr std::uint32_t Magic = 0x950412de;
constexpr std::uint32_t MagicSwapped = 0xde120495;
constexpr char ContextSeparator = '\x04';

class MoReader {
public:
    explicit MoReader(std::string_view image) : image_(image) {}

    bool readHeader() {
        const std::optional<std::uint32_t> magic = word(0, false);
        if (!magic || (*magic != Magic && *magic != MagicSwapped)) return false;
        swapped_ = *magic == MagicSwapped;
        const auto revision = word(4), count = word(8), ids = word(12), translations = word(16);
        // Major revisions other than 0 may change the layout; minor ones only add to it.
        if (!revision || (*revision >> 16) != 0 || !count || !ids || !translations) return false;
        count_ = *count;
        ids_ = *ids;
        translations_ = *translations;
        // Eight bytes per entry in each table: a count beyond that is a lie, not an allocation.
        return count_ <= image_.size() / 8;
    }

    std::uint32_t count() const { return count_; }
    std::optional<std::string_view> id(std::uint32_t i) const { return string(ids_, i); }
    std::optional<std::string_view> translation(std::uint32_t i) const { return string(translations_, i); }

private:
    std::optional<std::uint32_t> word(std::uint64_t offset, bool swap) const {
        if (offset + 4 > image_.size()) return std::nullopt;
        std::uint32_t value = 0;
        for (int b = 0; b < 4; ++b) {
            const std::uint32_t byte =
                static_cast<unsigned char>(image_[std::size_t(offset) + std::size_t(b)]);
            value |= byte << (swap ? 24 - 8 * b : 8 * b);
        }
        return value;
    }
    std::optional<std::uint32_t> word(std::uint64_t offset) const { return word(offset, swapped_); }

    // String i of the table at `table`: a length and an offset, the bytes then a NUL.
    std::optional<std::string_view> string(std::uint32_t table, std::uint32_t i) const {
        const std::uint64_t entry = std::uint64_t(table) + 8 * std::uint64_t(i);
        const auto length = word(entry), offset = word(entry + 4);
        if (!length || !offset) return std::nullopt;
        const std::uint64_t end = std::uint64_t(*offset) + *length;
        if (end >= image_.size() || image_[std::size_t(end)] != '\0') return std::nullopt;
        return image_.substr(*offset, *length);
    }

    std::string_view image_;
    bool swapped_ = false;
    std::uint32_t count_ = 0, ids_ = 0, translations_ = 0;
};

// ASCII is UTF-8 too; any other character set would need converting, which the game does not do.
bool declaresUtf8(std::string_view header) {
    const std::size_t at = header.find("charset=");
    if (at == std::string_view::npos) return true; // msgfmt writes UTF-8 when nothing is said
    std::string charset;
    for (char c : header.substr(at + 8)) {
        if (c == '\n' || c == ' ' || c == ';') break;
        if (c != '-') charset += char(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    return charset == "UTF8" || charset == "ASCII" || charset == "USASCII";
}
} // namespace

std::optional<Catalog> parseMoCatalog(std::string_view image) {
    MoReader mo(image);
    if (!mo.readHeader()) return std::nullopt;
    Catalog catalog;
    for (std::uint32_t i = 0; i < mo.count(); ++i) {
        const auto id = mo.id(i), translation = mo.translation(i);
        if (!id || !translation) return std::nullopt;
        if (id->empty()) {
            if (!declaresUtf8(*translation)) return std::nullopt;
            continue;
        }
        if (id->find(ContextSeparator) != std::string_view::npos) continue;
        // A plural entry holds its forms one after another, each ended by a NUL.
        const std::string_view singularId = id->substr(0, id->find('\0'));
        const std::string_view singular = translation->substr(0, translation->find('\0'));
        if (!singular.empty()) catalog.insert_or_assign(toUtf16(singularId), toUtf16(singular));
    }
    return catalog;
}
