#include "game/FrameJudge.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {
float distanceFromOrigin(Vec2 a, Vec2 b) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float t = std::clamp(-(a.x * dx + a.y * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return std::hypot(a.x + t * dx, a.y + t * dy);
}

// 512 points and 512 lines in use, scattered over a 4000 x 4000 area around the bar, none
// touching the bar's circle, so every frame scans the whole table.
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
        if (distanceFromOrigin(s.points[a], s.points[b]) > 80.0f) s.addSegment(a, b, i % 9 == 0 ? GOAL : WALL);
    }
    return s;
}

void HitLineFullStage(benchmark::State& state) {
    const Stage stage = fullStage();
    Bar bar({0, 0}, 60.0f, 0, 0, Angle(0.0f));
    for (auto _ : state) {
        bar.step(false, false);
        benchmark::DoNotOptimize(stage.hitLine(bar.pivot(), bar.freeEnd()));
    }
}
BENCHMARK(HitLineFullStage);

void SimulatedFrame(benchmark::State& state) {
    const Stage stage = fullStage();
    Bar bar({0, 0}, 60.0f, 0, 0, Angle(0.0f));
    std::int32_t remaining = INT32_MAX;
    std::uint32_t frame = 0;
    for (auto _ : state) {
        --remaining;
        ++frame;
        bar.step((frame & 64) != 0, false);
        benchmark::DoNotOptimize(judgeFrame(stage, bar, remaining));
    }
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(SimulatedFrame);

void ExactSegmentTest(benchmark::State& state) {
    Vec2 p{0, 0}, q{60, 1}, a{30, -10}, b{31, 10};
    for (auto _ : state) {
        benchmark::DoNotOptimize(segmentsIntersect(p, q, a, b));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ExactSegmentTest);
} // namespace
