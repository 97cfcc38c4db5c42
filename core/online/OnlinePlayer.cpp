#include "core/online/OnlinePlayer.h"

#include "core/base/FileAccess.h"
#include "core/online/PlayerName.h"
#include "core/online/ServerAddress.h"
#include "core/stage/FileLocations.h"

#include <algorithm>

namespace online {
namespace {
constexpr std::size_t MaxFileBytes = 1024;
}

std::string formatOnlinePlayer(const OnlinePlayer& player) {
    return "server=" + player.server + "\nname=" + player.name + "\ntoken=" + player.token + "\n";
}

std::optional<OnlinePlayer> parseOnlinePlayer(std::string_view text) {
    OnlinePlayer player;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty()) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) return std::nullopt;
        const std::string_view key = line.substr(0, equals), value = line.substr(equals + 1);
        if (key == "server")
            player.server = value;
        else if (key == "name")
            player.name = value;
        else if (key == "token")
            player.token = value;
    }
    const auto tokenChar = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); };
    // An empty server is the page's own origin, in a browser.
    if ((!player.server.empty() && !isServerAddress(player.server)) || !isValidPlayerName(player.name) ||
        player.token.size() < 16 || player.token.size() > 128 ||
        !std::all_of(player.token.begin(), player.token.end(), tokenChar))
        return std::nullopt;
    return player;
}

std::optional<OnlinePlayer> loadOnlinePlayer(const std::string& server) {
    std::error_code error;
    const std::optional<std::string> text =
        readRegularFile(onlinePlayerPath(), {MaxFileBytes, false, false}, error);
    std::optional<OnlinePlayer> player = text ? parseOnlinePlayer(*text) : std::nullopt;
    if (!player || player->server != server) return std::nullopt;
    return player;
}

bool saveOnlinePlayer(const OnlinePlayer& player) {
    return writeFileAtomically(onlinePlayerPath(), formatOnlinePlayer(player), nullptr, Replacing::Anything,
                               Readers::OwnerOnly);
}

} // namespace online
