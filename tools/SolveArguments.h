#pragma once
// The options of `twirlstick-stage solve` and `rate`, read strictly: a number the tool would misread (1e9,
// 0x10, 10abc, one beyond its range) is a mistake to point out, not a value to guess at.
#include "core/solver/ClearRate.h"
#include "core/solver/Solver.h"

#include <string>
#include <vector>

struct SolveArguments {
    SolveOptions options;
    ClearRateOptions rate;
    std::string out; // where the route is saved; empty for nowhere
};

enum class ToolCommand { Solve, Rate };

// The usage text's lines on the options: each numeric option's range and its command.
std::string solveRanges();

// Reads `args` (the options after the stage) into `into`. Each option may come once and every
// number must be whole, decimal and in its range; otherwise false, after one line on stderr that
// names the option and what it takes.
bool readSolveArguments(const std::vector<std::string>& args, SolveArguments& into,
                        ToolCommand command = ToolCommand::Solve);
