#pragma once
// Who the player is on a records server: the name claimed there and its secret token, kept in
// the working folder readable by the player alone. A token belongs to the server that gave it,
// so the file names that server too.
#include <optional>
#include <string>
#include <string_view>

namespace online {

struct OnlinePlayer {
    std::string server; // the address the name was claimed at
    std::string name;
    std::string token;
    bool operator==(const OnlinePlayer&) const = default;
};

std::string formatOnlinePlayer(const OnlinePlayer& player);
// nullopt for a damaged file: a line that is no "key=value", a name no server would give, a
// token of other characters than lower-case letters and digits.
std::optional<OnlinePlayer> parseOnlinePlayer(std::string_view text);

// The player kept for `server`; nullopt when none is kept, the file is damaged or it is another
// server's.
std::optional<OnlinePlayer> loadOnlinePlayer(const std::string& server);
// Writes the file (0600, through a fresh temporary file); false on failure.
bool saveOnlinePlayer(const OnlinePlayer& player);

} // namespace online
