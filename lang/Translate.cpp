#include "lang/Translate.h"

std::u16string tr(std::u16string_view messageId) {
    return std::u16string(messageId);
}
