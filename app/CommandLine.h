#pragma once
// The game needs no options; --help and --version are there for people and packagers.
#include <optional>

// Handles the arguments: prints the help or the version, or the usage on an unknown argument.
// Returns the exit code when the program should end here, nothing when the game should start.
std::optional<int> HandleCommandLine(int argc, const char* const* argv);
