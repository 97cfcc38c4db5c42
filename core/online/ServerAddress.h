#pragma once
// Where the records server is: "http://HOST[:PORT]" or "https://HOST[:PORT]", as the player
// types it in the options; the page in a browser uses its own origin instead.
#include <string_view>

namespace online {

// What `make serve` listens on.
inline constexpr const char* DefaultServerAddress = "http://127.0.0.1:8080";
inline constexpr std::size_t MaxServerAddressBytes = 200;

// Whether `address` is a scheme (http or https), "://", a host of letters, digits, '.' and '-'
// (or an IPv6 address in brackets) and an optional port from 1 to 65535; no path, no user, no
// space or control character.
bool isServerAddress(std::string_view address);

} // namespace online
