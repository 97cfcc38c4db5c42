#include "tools/SolveArguments.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iterator>
#include <optional>
#include <set>
#include <string_view>

namespace {
struct NumberOption {
    const char* name;
    ToolCommand command;
    long long low, high;
    void (*set)(SolveArguments&, long long);
};

constexpr NumberOption NumberOptions[] = {
    {"--seconds", ToolCommand::Solve, 1, 3600,
     [](SolveArguments& a, long long v) { a.options.seconds = double(v); }},
    // up to ten seconds
    {"--min-gap", ToolCommand::Solve, 1, 600,
     [](SolveArguments& a, long long v) { a.options.minGap = int(v); }},
    {"--forgive", ToolCommand::Solve, 1, MaxForgiveness,
     [](SolveArguments& a, long long v) { a.options.forgiveness = int(v); }},
    // A bound on the memory: 100 million states are about 15 GB.
    {"--max-states", ToolCommand::Solve, 1, 100'000'000,
     [](SolveArguments& a, long long v) { a.options.maxNodes = std::size_t(v); }},
    {"--trials", ToolCommand::Rate, 1, 1'000'000,
     [](SolveArguments& a, long long v) { a.rate.trials = int(v); }},
    // A tenth of a second of error is no longer a slip of the hand.
    {"--spread", ToolCommand::Rate, 0, 100,
     [](SolveArguments& a, long long v) { a.rate.spreadMs = double(v); }},
    {"--seed", ToolCommand::Rate, 0, 4'294'967'295,
     [](SolveArguments& a, long long v) { a.rate.seed = std::uint64_t(v); }},
};

// Digits only, so no sign, blank, base prefix, exponent or trailing junk gets through; from_chars
// then catches an overflow before the range is checked.
std::optional<long long> wholeNumber(std::string_view text, long long low, long long high) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

std::string range(const NumberOption& option) {
    return std::to_string(option.low) + " to " + std::to_string(option.high);
}

bool refuse(const std::string& message) {
    std::fprintf(stderr, "twirlstick-stage: %s\n", message.c_str());
    return false;
}
} // namespace

std::string solveRanges() {
    std::string text = "Each option at most once; its number whole and decimal, in its range:\n";
    for (const NumberOption& option : NumberOptions)
        text += std::string("  ") + (option.command == ToolCommand::Solve ? "solve " : "rate  ") +
                option.name + " " + range(option) + "\n";
    return text;
}

bool readSolveArguments(const std::vector<std::string>& args, SolveArguments& into, ToolCommand command) {
    std::set<std::string> seen;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const std::string& name = args[i];
        const auto number =
            std::find_if(std::begin(NumberOptions), std::end(NumberOptions),
                         [&](const NumberOption& o) { return name == o.name && o.command == command; });
        const bool known =
            number != std::end(NumberOptions) || (name == "--out" && command == ToolCommand::Solve);
        if (!known) return refuse("unknown option '" + name + "'");
        if (!seen.insert(name).second) return refuse(name + " is given more than once");
        if (i + 1 == args.size()) return refuse(name + " needs a value");
        const std::string& value = args[i + 1];
        if (number == std::end(NumberOptions)) {
            if (value.empty()) return refuse(name + " needs a file name");
            into.out = value;
            continue;
        }
        const std::optional<long long> n = wholeNumber(value, number->low, number->high);
        if (!n)
            return refuse(name + " takes a whole number from " + range(*number) + ", not '" + value + "'");
        number->set(into, *n);
    }
    return true;
}
