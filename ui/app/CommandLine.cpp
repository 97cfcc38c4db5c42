#include "ui/app/CommandLine.h"

#include "core/lang/LanguageChoice.h"
#include "ui/platform/Platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace {
constexpr const char* Usage = "Usage: twirlstick [-h | --help | --version | --language LANG]\n";

constexpr const char* Help =
    "Steer a bar that never stops turning through ten stages of lines.\n"
    "\n"
    "  -h, --help       show this help and exit\n"
    "  --version        show the version and exit\n"
    "  --language LANG  show the texts in LANG (ja or en) whatever the locale says;\n"
    "                   without it LANGUAGE, LC_ALL, LC_MESSAGES and LANG choose, as for\n"
    "                   other programs: Japanese for ja, C or none, English for the rest\n"
    "\n";

constexpr const char* Files = "Best runs and edited stages are kept in $XDG_DATA_HOME/TWIRLSTICK_FILES/\n"
                              "(normally ~/.local/share/TWIRLSTICK_FILES/).\n";

// The game keys are found by their place, so they are named by what the player's layout prints
// there (Y in Z's place on a German one); with no display to ask, by their place.
std::string keysText() {
    const std::vector<std::string> names = platform::layoutKeyNames("ZX");
    const std::string keys =
        names.size() == 2
            ? "Left click (or " + names[0] + ") swaps the pivot, the right button (or " + names[1] + ")"
            : "Left click (or the key where a US keyboard has Z) swaps the pivot, the right\n"
              "button (or the key where it has X)";
    return keys + " turns twice as fast,\n"
                  "P pauses, F11 or Alt+Enter switches full screen, Escape quits; the arrows and\n"
                  "Return work the menus, BackSpace goes back a screen, and a gamepad plays too.\n";
}

bool isHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

CommandLine usageError(const std::string& line) {
    std::fprintf(stderr, "twirlstick: %s\n", line.c_str());
    std::fputs(Usage, stderr);
    std::fputs("Try 'twirlstick --help' for more information.\n", stderr);
    return {.exitCode = 2, .language = {}};
}

CommandLine misunderstood(const char* bad) {
    return usageError(std::string("unrecognised argument '") + bad + "'");
}

std::string languageList() {
    std::string list;
    for (const std::string& language : gameLanguages())
        list += (list.empty() ? "" : ", ") + language;
    return list;
}

// A language the game has no texts for would silently show English: say so instead.
CommandLine forcedLanguage(std::string_view value) {
    if (value.empty()) return usageError("--language needs a language: " + languageList());
    const std::vector<std::string> known = gameLanguages();
    if (std::find(known.begin(), known.end(), value) == known.end())
        return usageError("unknown language '" + std::string(value) + "'; the game has " + languageList());
    return {.exitCode = std::nullopt, .language = std::string(value)};
}
} // namespace

CommandLine HandleCommandLine(int argc, const char* const* argv) {
    if (argc < 2) return {};
    const std::string_view arg = argv[1];
    if (argc == 2 && isHelp(arg)) {
        std::fputs(Usage, stdout);
        std::fputs(Help, stdout);
        std::fputs(keysText().c_str(), stdout);
        std::fputs(Files, stdout);
        return {.exitCode = 0, .language = {}};
    }
    if (argc == 2 && arg == "--version") {
        std::printf("twirlstick %s\nCopyright (c) 2026 The TWIRLSTICK developers\n"
                    "MIT License: you may use, copy, change and share it; it comes with no warranty.\n",
                    TWIRLSTICK_VERSION);
        return {.exitCode = 0, .language = {}};
    }
    const bool separate = arg == "--language" && argc <= 3;
    if (separate || (arg.starts_with("--language=") && argc == 2))
        return forcedLanguage(separate ? (argc == 3 ? argv[2] : "") : argv[1] + std::strlen("--language="));
    // Name the first argument that is not understood; an option followed by more is also wrong.
    const char* bad = argv[1];
    if ((isHelp(arg) || arg == "--version" || arg.starts_with("--language=")) && argc > 2) bad = argv[2];
    if (arg == "--language" && argc > 3) bad = argv[3];
    return misunderstood(bad);
}
