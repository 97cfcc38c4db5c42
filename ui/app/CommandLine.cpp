#include "app/CommandLine.h"

#include "lang/LanguageChoice.h"

#include <cstdio>
#include <cstring>
#include <string_view>

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
    "\n"
    "Left click (or Z) swaps the pivot, the right button (or X) turns twice as fast,\n"
    "P pauses, F11 or Alt+Enter switches full screen, Escape quits; the arrows and\n"
    "Return work the menus, and a gamepad plays too.\n"
    "Best runs and edited stages are kept in $XDG_DATA_HOME/TWIRLSTICK_FILES/\n"
    "(normally ~/.local/share/TWIRLSTICK_FILES/).\n";

bool isHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

CommandLine misunderstood(const char* bad) {
    std::fprintf(stderr, "twirlstick: unrecognised argument '%s'\n", bad);
    std::fputs(Usage, stderr);
    std::fputs("Try 'twirlstick --help' for more information.\n", stderr);
    return {.exitCode = 2, .language = {}};
}
} // namespace

CommandLine HandleCommandLine(int argc, const char* const* argv) {
    if (argc < 2) return {};
    const std::string_view arg = argv[1];
    if (argc == 2 && isHelp(arg)) {
        std::fputs(Usage, stdout);
        std::fputs(Help, stdout);
        return {.exitCode = 0, .language = {}};
    }
    if (argc == 2 && arg == "--version") {
        std::printf("twirlstick %s\nCopyright (c) 2026 The TWIRLSTICK developers\n"
                    "MIT License: you may use, copy, change and share it; it comes with no warranty.\n",
                    TWIRLSTICK_VERSION);
        return {.exitCode = 0, .language = {}};
    }
    const bool separate = arg == "--language" && argc == 3;
    if (separate || (arg.starts_with("--language=") && argc == 2)) {
        const char* value = separate ? argv[2] : argv[1] + std::strlen("--language=");
        if (!isLanguageName(value)) return misunderstood(value);
        return {.exitCode = std::nullopt, .language = value};
    }
    // Name the first argument that is not understood; an option followed by more is also wrong.
    const char* bad = argv[1];
    if ((isHelp(arg) || arg == "--version" || arg.starts_with("--language=")) && argc > 2) bad = argv[2];
    if (arg == "--language" && argc > 3) bad = argv[3];
    return misunderstood(bad);
}
