#pragma once
// What keeps one server standing under load or abuse: a bounded pool of connection workers, a
// bounded number of replays being checked at once, and a token bucket per address on writes.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A connection with a request waiting runs on one of `workers` threads, or waits for one in a
// queue of at most `queued` beyond the idle workers; one past that is handed to one refusing
// thread, whose requests are answered 503 with Retry-After (refusingNow() tells the handler).
// A job dropped (a flood past even the refusing queue, or a pool shut down) is destroyed unrun,
// which closes its connection.
class BoundedPool final {
public:
    BoundedPool(int workers, int queued);
    ~BoundedPool();
    void enqueue(std::function<void()> fn);
    // Runs what is queued, then ends the threads.
    void shutdown();

    // True on the refusing thread: the server is full, answer 503 at once.
    static bool refusingNow();
    // Connections wait in the queue for a worker.
    bool othersWaiting();

private:
    void work(bool refusing);

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> jobs_, refused_;
    std::size_t maxQueued_;
    std::size_t idle_; // workers not running a connection
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

// At most `limit` replays verified at once; acquire() fails rather than waits, and the caller
// answers 503 with Retry-After.
class VerificationSlots {
public:
    explicit VerificationSlots(int limit) : free_(limit) {}
    bool acquire();
    void release();

private:
    std::mutex mutex_;
    int free_;
};

// Writes per address: `ratePerSecond` tokens a second up to `burst`; a rate of 0 lets every
// write through (benchmarks). The table forgets full buckets when it grows past a bound, so a
// flood of addresses cannot grow it without end.
class WriteBuckets {
public:
    WriteBuckets(double ratePerSecond, double burst) : rate_(ratePerSecond), burst_(burst) {}
    // True when the write may go on; else `retryAfterSeconds` says when a token will be there.
    bool take(const std::string& address, int& retryAfterSeconds);

private:
    struct Bucket {
        double tokens;
        std::chrono::steady_clock::time_point at;
    };
    std::mutex mutex_;
    double rate_, burst_;
    std::map<std::string, Bucket> buckets_;
};
