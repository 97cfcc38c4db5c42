#include "core/editor/StageCheck.h"

#include "core/base/Capabilities.h"

void StageCheck::start(const Stage& stage) {
    clear();
    stage_ = stage;
    cancel_ = false;
    states_ = 0;
    started_ = std::chrono::steady_clock::now();
    if constexpr (PlatformHasThreads) {
        worker_ = std::thread([this] { search(Seconds); });
    } else {
        // Without threads the check runs at once, on a budget that stalls the page only
        // briefly, and answers honestly when that was too short.
        search(BrowserSeconds);
    }
}

void StageCheck::search(double seconds) {
    SolveOptions options;
    options.seconds = seconds;
    options.cancel = &cancel_;
    options.progress = [this](std::size_t states) { states_.store(states, std::memory_order_relaxed); };
    SolveResult result = solveStage(stage_, options);
    states_.store(result.states, std::memory_order_relaxed);
    result_ = std::move(result);
    done_.store(true, std::memory_order_release);
}

void StageCheck::clear() {
    if (worker_.joinable()) {
        cancel_ = true;
        worker_.join();
    }
    result_.reset();
    done_ = false;
}

double StageCheck::seconds() const {
    if (const SolveResult* done = answer()) return done->seconds;
    if (idle()) return 0.0;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
}
