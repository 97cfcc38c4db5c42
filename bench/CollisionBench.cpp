#include "core/game/FrameJudge.h"
#include "core/game/GameConstants.h"
#include "core/solver/Solver.h"
#include "core/stage/StageFile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

namespace {
float distanceFromOrigin(Vec2 a, Vec2 b) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float t = std::clamp(-(a.x * dx + a.y * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return std::hypot(a.x + t * dx, a.y + t * dy);
}

// 512 points and 512 lines in use, scattered over a 4000 x 4000 area around the bar, none
// touching the bar's circle, so every frame scans the whole table. The lines are long and
// criss-cross the bar's surroundings, so about a quarter pass the box test: a hard case.
Stage fullStage() {
    Stage s;
    std::mt19937 rng(1);
    std::uniform_real_distribution<float> coord(-2000.0f, 2000.0f);
    while (s.pointCount() < MaxPoints) {
        const Vec2 p{coord(rng), coord(rng)};
        if (std::hypot(p.x, p.y) > 200.0f) s.addPoint(p);
    }
    for (int i = 0; s.segmentCount() < MaxSegments; ++i) {
        const int a = i % MaxPoints, b = (i * 7 + 3 + i / MaxPoints) % MaxPoints;
        if (a == b) continue;
        if (distanceFromOrigin(s.points[a], s.points[b]) > 80.0f)
            s.addSegment(a, b, i % 9 == 0 ? GOAL : WALL);
    }
    return s;
}

// Each case runs twice: argument 0 is the stage's plain scan of every slot (as collision was
// done before the grid), 1 the grid.
LineGrid::Mode modeOf(const benchmark::State& state) {
    return state.range(0) ? LineGrid::Mode::Grid : LineGrid::Mode::PlainScan;
}

void SimulatedFrame(benchmark::State& state) {
    const Stage stage = fullStage();
    const LineGrid lines(stage, modeOf(state));
    Bar bar({0, 0}, BarLength, 0, 0, Angle(0.0f));
    std::int32_t remaining = INT32_MAX;
    std::uint32_t frame = 0;
    for (auto _ : state) {
        --remaining;
        ++frame;
        bar.step((frame & 64) != 0, false);
        benchmark::DoNotOptimize(judgeFrame(lines, bar, remaining));
    }
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(SimulatedFrame)->ArgName("grid")->Arg(0)->Arg(1);

// A full stage of the kind players build: eight closed outlines of 64 short (about 40-unit)
// pieces each, 512 points and 512 lines, around the bar.
Stage shortLinesStage() {
    Stage s;
    std::mt19937 rng(2);
    std::uniform_real_distribution<float> coord(-800.0f, 800.0f), piece(-30.0f, 30.0f);
    for (int outline = 0; outline < 8; ++outline) {
        Vec2 p{coord(rng), coord(rng)};
        while (std::hypot(p.x, p.y) < 200.0f)
            p = {coord(rng), coord(rng)};
        const int first = s.addPoint(p);
        int previous = first;
        for (int k = 1; k < 64; ++k) {
            Vec2 next{p.x + piece(rng), p.y + piece(rng)};
            while (std::hypot(next.x, next.y) < 120.0f)
                next = {p.x + piece(rng), p.y + piece(rng)};
            p = next;
            const int current = s.addPoint(p);
            s.addSegment(previous, current, WALL);
            previous = current;
        }
        s.addSegment(previous, first, WALL);
    }
    return s;
}

void SimulatedFrameShortLines(benchmark::State& state) {
    const Stage stage = shortLinesStage();
    const LineGrid lines(stage, modeOf(state));
    Bar bar({0, 0}, BarLength, 0, 0, Angle(0.0f));
    for (int i = 0; i < 180; ++i) { // a whole turn touches nothing: every frame scans all lines
        bar.step(false, false);
        if (stage.hitLine(bar.pivot(), bar.freeEnd()) != -1) state.SkipWithError("the bar touches a line");
    }
    std::int32_t remaining = INT32_MAX;
    for (auto _ : state) {
        --remaining;
        bar.step(false, false);
        benchmark::DoNotOptimize(judgeFrame(lines, bar, remaining));
    }
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(SimulatedFrameShortLines)->ArgName("grid")->Arg(0)->Arg(1);

// The person's-pace solver on a shipped stage, start to answer (argument 1: the stage number).
void SolveShippedStage(benchmark::State& state) {
    Stage stage;
    loadStage(std::string(DATA_DIR) + "/stage" + std::to_string(state.range(1)), stage);
    SolveOptions options;
    options.collision = modeOf(state);
    options.seconds = 120;
    std::size_t states = 0;
    for (auto _ : state) {
        const SolveResult result = solveStage(stage, options);
        if (!result.solved()) state.SkipWithError("no route found");
        states = result.states;
    }
    state.counters["states"] = double(states);
}
BENCHMARK(SolveShippedStage)
    ->ArgNames({"grid", "stage"})
    ->ArgsProduct({{0, 1}, {3, 7, 9}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BarStep(benchmark::State& state) {
    Bar bar({0, 0}, BarLength, 0, 0, Angle(0.0f));
    for (auto _ : state) {
        bar.step(false, false);
        benchmark::DoNotOptimize(bar.freeEnd());
    }
}
BENCHMARK(BarStep);

void ExactSegmentTest(benchmark::State& state) {
    Vec2 p{0, 0}, q{60, 1}, a{30, -10}, b{31, 10};
    for (auto _ : state) {
        benchmark::DoNotOptimize(segmentsIntersect(p, q, a, b));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ExactSegmentTest);
} // namespace
