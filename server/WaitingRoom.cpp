#include "server/WaitingRoom.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

namespace {
constexpr int MaxSleepMs = 1000; // deadlines are kept to about this
} // namespace

WaitingRoom::WaitingRoom(std::size_t capacity, Clock::duration request, Ready ready)
    : capacity_(std::max<std::size_t>(capacity, 1)), request_(request), ready_(std::move(ready)),
      epoll_(epoll_create1(EPOLL_CLOEXEC)), wake_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = 0;
    if (epoll_ < 0 || wake_ < 0 || epoll_ctl(epoll_, EPOLL_CTL_ADD, wake_, &event) != 0) {
        if (epoll_ >= 0) close(epoll_);
        if (wake_ >= 0) close(wake_);
        throw std::runtime_error("the connection watcher cannot start (epoll)");
    }
    thread_ = std::thread([this] { watch(); });
}

WaitingRoom::~WaitingRoom() {
    stop();
    close(epoll_);
    close(wake_);
}

void WaitingRoom::park(std::shared_ptr<Connection> connection, Clock::time_point idleUntil) {
    if (connection->headArrived()) return ready_(std::move(connection));
    const Clock::time_point deadline =
        connection->unread.empty() ? idleUntil : connection->started + request_;
    std::optional<Waiting> evicted;
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    if (waiting_.size() >= capacity_) evicted = take(byDeadline_.begin()->second);
    const Ticket ticket = ++lastTicket_;
    epoll_event event{};
    event.events = EPOLLIN | EPOLLRDHUP;
    event.data.u64 = ticket;
    if (epoll_ctl(epoll_, EPOLL_CTL_ADD, connection->fd(), &event) != 0) return;
    waiting_.emplace(ticket, Waiting{std::move(connection), deadline});
    byDeadline_.emplace(deadline, ticket);
}

void WaitingRoom::stop() {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        stopping_ = true;
        waiting_.clear();
        byDeadline_.clear();
    }
    const std::uint64_t one = 1;
    if (::write(wake_, &one, sizeof one) < 0) {
        // The counter is full only if it was written before, and then the thread is woken anyway.
    }
    thread_.join();
}

std::optional<WaitingRoom::Waiting> WaitingRoom::take(Ticket ticket) {
    const auto it = waiting_.find(ticket);
    if (it == waiting_.end()) return std::nullopt;
    Waiting taken = std::move(it->second);
    epoll_ctl(epoll_, EPOLL_CTL_DEL, taken.connection->fd(), nullptr);
    byDeadline_.erase({taken.deadline, ticket});
    waiting_.erase(it);
    return taken;
}

void WaitingRoom::watch() {
    epoll_event events[64];
    for (;;) {
        int sleepMs = MaxSleepMs;
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return;
            if (!byDeadline_.empty()) {
                const auto left =
                    std::chrono::ceil<std::chrono::milliseconds>(byDeadline_.begin()->first - Clock::now());
                sleepMs = int(std::clamp<long long>(left.count(), 0, MaxSleepMs));
            }
        }
        const int n = epoll_wait(epoll_, events, 64, sleepMs);
        std::vector<Waiting> woken, expired;
        {
            std::lock_guard lock(mutex_);
            for (int i = 0; i < n; ++i)
                if (std::optional<Waiting> w = events[i].data.u64 ? take(events[i].data.u64) : std::nullopt)
                    woken.push_back(std::move(*w));
            const Clock::time_point now = Clock::now();
            while (!byDeadline_.empty() && byDeadline_.begin()->first <= now)
                expired.push_back(*take(byDeadline_.begin()->second));
        }
        // Read, handed on and closed outside the lock: none of it should hold up park(). A client
        // that has gone is closed here, not through a worker.
        for (Waiting& w : woken)
            if (w.connection->readWaiting()) park(std::move(w.connection), w.deadline);
    }
}
