#pragma once
// The game's few options: --help and --version for people and packagers, --language to choose
// the texts' language over the environment's.
#include <optional>
#include <string>

struct CommandLine {
    std::optional<int> exitCode; // set when the program should end here with it
    std::string language;        // --language's value, "" when not given
};

// Handles the arguments: prints the help or the version, or the usage on an argument it does
// not understand (exit code 2).
CommandLine HandleCommandLine(int argc, const char* const* argv);
