#include "server/Limits.h"

#include <cmath>

namespace {
thread_local bool refusing = false;
constexpr std::size_t MaxRefused = 4096; // past this even the refusing thread's queue is cut
constexpr std::size_t MaxBuckets = 100000;
} // namespace

BoundedPool::BoundedPool(int workers, int queued)
    : maxQueued_(std::size_t(queued)), idle_(std::size_t(workers)) {
    for (int i = 0; i < workers; ++i)
        threads_.emplace_back([this] { work(false); });
    threads_.emplace_back([this] { work(true); });
}

BoundedPool::~BoundedPool() {
    shutdown();
}

void BoundedPool::enqueue(std::function<void()> fn) {
    std::function<void()> dropped; // destroyed after the lock is let go
    {
        std::lock_guard lock(mutex_);
        // A worker free for it, or room in the queue; else the refusing thread answers 503.
        if (stopping_)
            dropped = std::move(fn);
        else if (jobs_.size() < idle_ + maxQueued_)
            jobs_.push_back(std::move(fn));
        else if (refused_.size() < MaxRefused)
            refused_.push_back(std::move(fn));
        else
            dropped = std::move(fn);
    }
    ready_.notify_all();
}

void BoundedPool::shutdown() {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        stopping_ = true;
    }
    ready_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

bool BoundedPool::othersWaiting() {
    std::lock_guard lock(mutex_);
    return !jobs_.empty();
}

bool BoundedPool::refusingNow() {
    return refusing;
}

void BoundedPool::work(bool refuser) {
    refusing = refuser;
    std::deque<std::function<void()>>& queue = refuser ? refused_ : jobs_;
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            ready_.wait(lock, [&] { return stopping_ || !queue.empty(); });
            if (queue.empty()) return;
            job = std::move(queue.front());
            queue.pop_front();
            if (!refuser) --idle_;
        }
        job();
        if (!refuser) {
            std::lock_guard lock(mutex_);
            ++idle_;
        }
    }
}

bool VerificationSlots::acquire() {
    std::lock_guard lock(mutex_);
    if (free_ == 0) return false;
    --free_;
    return true;
}

void VerificationSlots::release() {
    std::lock_guard lock(mutex_);
    ++free_;
}

bool WriteBuckets::take(const std::string& address, int& retryAfterSeconds) {
    if (rate_ <= 0) return true;
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard lock(mutex_);
    if (buckets_.size() > MaxBuckets) buckets_.clear(); // everyone starts full again: harmless
    auto [it, fresh] = buckets_.try_emplace(address, Bucket{burst_, now});
    Bucket& b = it->second;
    if (!fresh) {
        const double seconds = std::chrono::duration<double>(now - b.at).count();
        b.tokens = std::min(burst_, b.tokens + seconds * rate_);
        b.at = now;
    }
    if (b.tokens >= 1) {
        b.tokens -= 1;
        return true;
    }
    retryAfterSeconds = int(std::ceil((1 - b.tokens) / rate_));
    return false;
}
