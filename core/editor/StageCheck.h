#pragma once
// The editor's "can a person clear this?": the person's-pace solver run on a copy of the stage
// on a worker thread, so the editor keeps its pace. The editor polls it once a frame for the
// progress and the answer; cancelling (or destroying it) stops the search within a moment.
#include "core/solver/Solver.h"
#include "core/stage/Stage.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <optional>
#include <thread>

class StageCheck {
public:
    // A check's whole budget; then it gives up and says so.
    static constexpr double Seconds = 60.0;
    // In a browser, where it runs on the page's only thread.
    static constexpr double BrowserSeconds = 3.0;

    StageCheck() = default;
    StageCheck(const StageCheck&) = delete;
    StageCheck& operator=(const StageCheck&) = delete;
    ~StageCheck() { clear(); }

    // Starts checking a copy of the stage, dropping any check or answer before.
    void start(const Stage& stage);
    // Stops a running check and forgets its answer.
    void clear();

    bool running() const { return worker_.joinable() && !done_.load(std::memory_order_acquire); }
    bool idle() const { return !worker_.joinable() && !done_.load(std::memory_order_acquire); }
    // The answer once the search ended; null while it runs or when there is no check. It stays
    // valid until the next start() or clear().
    const SolveResult* answer() const { return done_.load(std::memory_order_acquire) ? &*result_ : nullptr; }
    // The stage the check is about, to tell an edit since.
    const Stage& stage() const { return stage_; }
    std::size_t states() const { return states_.load(std::memory_order_relaxed); }
    double seconds() const; // since the start, or the search's own time once answered

private:
    void search(double seconds);

    Stage stage_;
    std::thread worker_;
    std::atomic<bool> cancel_ = false;
    std::atomic<std::size_t> states_ = 0;
    std::optional<SolveResult> result_; // written by the worker before it sets done_
    std::atomic<bool> done_ = false;
    std::chrono::steady_clock::time_point started_;
};
