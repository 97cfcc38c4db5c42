#include "core/online/ServerAddress.h"

#include <algorithm>
#include <charconv>

namespace online {
namespace {
bool isHostChar(char c) {
    return c == '.' || c == '-' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isV6Char(char c) {
    return c == ':' || c == '.' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
} // namespace

bool isServerAddress(std::string_view address) {
    if (address.size() > MaxServerAddressBytes) return false;
    std::string_view rest;
    if (address.starts_with("http://"))
        rest = address.substr(7);
    else if (address.starts_with("https://"))
        rest = address.substr(8);
    else
        return false;
    std::string_view host;
    bool v6 = false;
    if (rest.starts_with('[')) {
        const std::size_t close = rest.find(']');
        if (close == std::string_view::npos) return false;
        host = rest.substr(1, close - 1);
        rest = rest.substr(close + 1);
        v6 = true;
    } else {
        const std::size_t colon = rest.find(':');
        host = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon);
    }
    if (host.empty() || !std::all_of(host.begin(), host.end(), v6 ? isV6Char : isHostChar) ||
        (!v6 && (host.front() == '.' || host.front() == '-')))
        return false;
    if (rest.empty()) return true;
    if (rest.front() != ':') return false;
    const std::string_view port = rest.substr(1);
    int n = 0;
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), n);
    return !port.empty() && error == std::errc() && end == port.data() + port.size() && n >= 1 && n <= 65535;
}

} // namespace online
