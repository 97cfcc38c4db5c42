#include "app/CommandLine.h"

#include <cstdio>
#include <cstring>

namespace {
constexpr const char* Usage = "Usage: twirlstick [-h | --help | --version]\n";

bool IsHelp(const char* arg) {
    return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0;
}

constexpr const char* Help =
    "Steer a bar that never stops turning through ten stages of lines.\n"
    "\n"
    "  -h, --help show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Left click (or Z) swaps the pivot, the right button (or X) turns twice as fast,\n"
    "P pauses, F11 or Alt+Enter switches full screen, Escape quits; the arrows and\n"
    "Return work the menus, and a gamepad plays too.\n"
    "Best runs and edited stages are kept in $XDG_DATA_HOME/TWIRLSTICK_FILES/\n"
    "(normally ~/.local/share/TWIRLSTICK_FILES/).\n";
} // namespace

std::optional<int> HandleCommandLine(int argc, const char* const* argv) {
    if (argc < 2) return std::nullopt;
    const char* arg = argv[1];
    if (argc == 2 && IsHelp(arg)) {
        std::fputs(Usage, stdout);
        std::fputs(Help, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(arg, "--version") == 0) {
        std::printf("twirlstick %s\nCopyright (c) 2026 The TWIRLSTICK developers\n"
                    "MIT License: you may use, copy, change and share it; it comes with no warranty.\n",
                    TWIRLSTICK_VERSION);
        return 0;
    }
    // Name the first argument that is not understood; a lone option followed by more is also wrong.
    const char* bad = (IsHelp(arg) || std::strcmp(arg, "--version") == 0) ? argv[2] : arg;
    std::fprintf(stderr, "twirlstick: unrecognised argument '%s'\n", bad);
    std::fputs(Usage, stderr);
    std::fputs("Try 'twirlstick --help' for more information.\n", stderr);
    return 2;
}
