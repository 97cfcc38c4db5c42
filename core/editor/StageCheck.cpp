#include "editor/StageCheck.h"

void StageCheck::start(const Stage& stage) {
    clear();
    stage_ = stage;
    cancel_ = false;
    states_ = 0;
    started_ = std::chrono::steady_clock::now();
    worker_ = std::thread([this] {
        SolveOptions options;
        options.seconds = Seconds;
        options.cancel = &cancel_;
        options.progress = [this](std::size_t states) { states_.store(states, std::memory_order_relaxed); };
        SolveResult result = solveStage(stage_, options);
        states_.store(result.states, std::memory_order_relaxed);
        result_ = std::move(result);
        done_.store(true, std::memory_order_release);
    });
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
