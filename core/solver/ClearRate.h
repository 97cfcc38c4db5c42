#pragma once
// How likely a person is to clear a stage playing a route by hand: every click lands a little
// early or late, by a normal error of a given spread, and the share of trials that still clear
// is the route's clear rate. Makers and the solver read it; the shipped stages are held to it.
#include "core/game/InputRecord.h"
#include "core/stage/Stage.h"

#include <cstdint>
#include <vector>

// The two players a route is measured for: a steady hand and an ordinary one.
inline constexpr double SteadySpreadMs = 15.0;
inline constexpr double OrdinarySpreadMs = 25.0;

struct ClearRateOptions {
    int trials = 1000;
    double spreadMs = SteadySpreadMs;         // standard deviation of a click's timing error
    std::uint64_t seed = 0x7457'1257'1c4bULL; // fixed, so a route's rate is the same on every run
};

struct ClearRate {
    int cleared = 0;
    int trials = 0;
    double share() const { return trials > 0 ? double(cleared) / trials : 0.0; }
    int percent() const { return trials > 0 ? int((std::int64_t(cleared) * 100 + trials / 2) / trials) : 0; }
};

// Each click is moved by the error rounded to the nearest whole frame, independently; one moved
// before the first frame lands on it, one moved onto a frame that already has a click lands on
// the next free frame. The fast button keeps its frames; after the route it is held as it was
// left, with no click, for a turn and a half. A route that does not clear as planned clears in
// no trial.
ClearRate clearRateOf(const Stage& stage, const std::vector<InputFlags>& frames,
                      const ClearRateOptions& options = {});

// The chance of each whole-frame shift -k..k of a click under a normal error of `spreadMs`
// (index k + shift), the tails folded into the ends: what the sampler draws from.
std::vector<double> shiftChances(double spreadMs, int k);
