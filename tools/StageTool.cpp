// twirlstick-stage: a command-line companion for stage makers. It reads stages and replays
// with the game's own code, so its verdicts are the game's verdicts.
#include "core/base/FileAccess.h"
#include "core/base/Utf.h"
#include "core/game/GameConstants.h"
#include "core/game/RecordRun.h"
#include "core/solver/RouteCheck.h"
#include "core/stage/StageFile.h"
#include "tools/SolveArguments.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {
constexpr const char* UsageHead =
    "usage:\n"
    "  twirlstick-stage info STAGE\n"
    "  twirlstick-stage verify STAGE REPLAY\n"
    "  twirlstick-stage rate STAGE REPLAY [--trials N] [--spread MS] [--seed S]\n"
    "  twirlstick-stage solve STAGE [--out REPLAY] [--seconds S] [--min-gap F] [--forgive K]\n"
    "                                [--max-states N]\n"
    "\n"
    "solve looks for a route a person can play: clicks at least F frames apart\n"
    "(default 10; 1 is the machine's pace), the fast button changed at most every\n"
    "6 frames, and every click still clearing K frames early or late (default 1,\n"
    "at most 3). It prints\n"
    "'clear N' (frames) with the clicks, the smallest gap, the slack, the first\n"
    "click's time and how far each click may slip (exit 0); 'no route' (exit 1),\n"
    "with the reason when it was proven before any search or when every state was\n"
    "tried; 'gave up after S s' when the S seconds of --seconds (default 30) ran\n"
    "out first (exit 3); or 'stopped at the cap of N states' when the search kept\n"
    "the N states of --max-states (default 2000000, a bound on its memory) before\n"
    "either answer (exit 3). --out saves the route as a replay: a new file, or one\n"
    "written over a regular file; a link, folder, FIFO or device there is refused.\n"
    "It also prints the route's clear rate for a steady (15 ms) and an ordinary\n"
    "(25 ms) player.\n"
    "\n"
    "rate plays a replay N times (default 1000) with every click moved by a normal\n"
    "timing error of MS milliseconds (default 15), rounded to whole frames, and\n"
    "prints the share of trials that clear; the same seed gives the same answer.\n";
constexpr const char* UsageTail = "Unreadable files, unwritable replays and wrong options exit 2.\n"
                                  "  twirlstick-stage --help | --version\n";

void printUsage(std::FILE* to) {
    std::fprintf(to, "%s%s%s", UsageHead, solveRanges().c_str(), UsageTail);
}

int usage() {
    printUsage(stderr);
    return 2;
}

// The game quietly plays an empty stage for a file it cannot read; the tool must say why instead,
// and refuses what the edit menu refuses to take in as a stage, for the same reason.
bool readStage(const std::string& path, Stage& stage) {
    std::error_code error;
    if (!loadStageFile(path, stage, error))
        std::fprintf(stderr, "cannot read stage file %s: %s\n", path.c_str(), error.message().c_str());
    return !error;
}

int info(const std::string& path) {
    Stage stage;
    if (!readStage(path, stage)) return 2;
    int walls = 0, goals = 0;
    for (const Segment& s : stage.segments) {
        walls += s.kind == WALL;
        goals += s.kind == GOAL;
    }
    std::printf("title: %s\ntimelimit: %d\npoints: %d\nwalls: %d\ngoals: %d\n", toUtf8(stage.title).c_str(),
                stage.timeLimit, stage.pointCount(), walls, goals);
    std::printf("start: %g %g %g\ncamera: %g %g %g\n", stage.initialPivot.x, stage.initialPivot.y,
                stage.initialAngle, stage.startCamera.x, stage.startCamera.y, stage.startCamera.zoom);
    return 0;
}

bool readReplay(const std::string& path, const Stage& stage, InputRecord& record) {
    std::error_code error;
    record.load(path, framesForTimeLimit(stage.timeLimit), &error);
    if (error)
        std::fprintf(stderr, "cannot read replay file %s: %s\n", path.c_str(), error.message().c_str());
    return !error;
}

void printClearRate(const ClearRate& rate, double spreadMs) {
    std::printf("clear rate %d%% at %g ms (%d of %d trials)\n", rate.percent(), spreadMs, rate.cleared,
                rate.trials);
}

int verify(const std::string& stagePath, const std::string& replayPath) {
    Stage stage;
    if (!readStage(stagePath, stage)) return 2;
    InputRecord record;
    if (!readReplay(replayPath, stage, record)) return 2;
    const RecordRunResult run = runRecord(stage, record);
    switch (run.outcome) {
    case FrameOutcome::Goal:
        std::printf("clear %d\n", run.frames);
        return 0;
    case FrameOutcome::Wall:
        std::printf("wall %d\n", run.frames);
        return 1;
    case FrameOutcome::TimeOut:
        std::printf("timeout %d\n", run.frames);
        return 1;
    case FrameOutcome::Continue:
        break;
    }
    std::printf("unfinished %d\n", record.total());
    return 1;
}

int rate(const std::string& stagePath, const std::string& replayPath,
         const std::vector<std::string>& options) {
    SolveArguments arguments;
    if (!readSolveArguments(options, arguments, ToolCommand::Rate)) {
        std::fputs("see 'twirlstick-stage --help'\n", stderr);
        return 2;
    }
    Stage stage;
    if (!readStage(stagePath, stage)) return 2;
    InputRecord record;
    if (!readReplay(replayPath, stage, record)) return 2;
    const std::vector<InputFlags> frames = framesOf(record);
    const ClearRate result = clearRateOf(stage, frames, arguments.rate);
    if (result.cleared == 0 && clearRateOf(stage, frames, {.trials = 1, .spreadMs = 0}).cleared == 0)
        std::printf("the replay does not clear the stage as recorded: ");
    printClearRate(result, arguments.rate.spreadMs);
    return 0;
}

int solve(const std::string& stagePath, const std::vector<std::string>& options) {
    SolveArguments arguments;
    if (!readSolveArguments(options, arguments)) {
        std::fputs("see 'twirlstick-stage --help'\n", stderr);
        return 2;
    }
    const SolveOptions& solveOptions = arguments.options;
    const std::string& out = arguments.out;
    Stage stage;
    if (!readStage(stagePath, stage)) return 2;
    const SolveResult result = solveStage(stage, solveOptions);
    if (result.ending == SolveEnding::NoRoute) {
        if (result.hopeless == Hopeless::WalledIn)
            std::printf("no route: the start is walled in\n");
        else if (result.hopeless == Hopeless::NoGoal)
            std::printf("no route: the stage has no goal\n");
        else
            std::printf("no route\n");
        return 1;
    }
    if (result.ending == SolveEnding::GaveUp) {
        std::printf("gave up after %.1f s\n", result.seconds);
        return 3;
    }
    if (result.ending == SolveEnding::StateCap) {
        std::printf("stopped at the cap of %zu states after %.1f s: no route found, none proven absent\n",
                    solveOptions.maxNodes, result.seconds);
        return 3;
    }
    std::error_code error;
    if (!out.empty() && !result.record.save(out, &error, Replacing::RegularFileOnly)) {
        const bool standsThere = error == FileError::Link || error == FileError::NotRegular;
        std::fprintf(stderr, "cannot write replay file %s: %s%s\n", out.c_str(), error.message().c_str(),
                     standsThere ? " (--out replaces only a regular file; it was left as it was)" : "");
        return 2;
    }
    std::printf("clear %d\n", result.frames);
    std::printf("clicks %d, smallest gap %d frames, ", result.switches, result.smallestGap);
    if (result.slack > 0)
        std::printf("every click still clears up to %d frame%s early or late\n", result.slack,
                    result.slack > 1 ? "s" : "");
    else
        std::printf("a click one frame early or late can break it\n");
    if (result.switches > 0) {
        std::printf("first click %d frames (%.2f s) after Go\n", result.firstClick,
                    double(result.firstClick) / FramesPerSecond);
        std::printf("forgiveness: %s; per click:", forgivenessSummary(result.forgiveness).c_str());
        for (int k : result.forgiveness)
            std::printf(" \u00B1%d", k);
        std::printf("\n");
    }
    printClearRate(result.steady, SteadySpreadMs);
    printClearRate(result.ordinary, OrdinarySpreadMs);
    return 0;
}

int run(const std::vector<std::string>& args) {
    // Every command answers --help, before its other arguments are read as files.
    const bool command = !args.empty() && (args[0] == "info" || args[0] == "verify" || args[0] == "rate" ||
                                           args[0] == "solve");
    if (args == std::vector<std::string>{"--help"} ||
        (command && std::find(args.begin() + 1, args.end(), "--help") != args.end())) {
        printUsage(stdout);
        return 0;
    }
    if (args == std::vector<std::string>{"--version"}) {
        std::printf("twirlstick-stage %s\n", TWIRLSTICK_VERSION);
        return 0;
    }
    if (args.size() == 2 && args[0] == "info") return info(args[1]);
    if (args.size() == 3 && args[0] == "verify") return verify(args[1], args[2]);
    if (args.size() >= 3 && args[0] == "rate") return rate(args[1], args[2], {args.begin() + 3, args.end()});
    if (args.size() >= 2 && args[0] == "solve") return solve(args[1], {args.begin() + 2, args.end()});
    return usage();
}
} // namespace

int main(int argc, char** argv) {
    const int code = run({argv + 1, argv + argc});
    // An answer that never reached its reader (a full disk, a closed pipe) is no answer.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::perror("twirlstick-stage: cannot write the output");
        return code == 0 ? 2 : code;
    }
    return code;
}
