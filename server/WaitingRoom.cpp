#include "server/WaitingRoom.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

namespace {
constexpr int MaxSleepMs = 1000; // deadlines are kept to about this

// The client has gone with nothing left to read: closed here rather than through a worker.
bool hungUp(const Connection& c, std::uint32_t events) {
    int pending = 0;
    return (events & (EPOLLRDHUP | EPOLLHUP | EPOLLERR)) && ioctl(c.fd(), FIONREAD, &pending) == 0 &&
           pending == 0;
}
} // namespace

WaitingRoom::WaitingRoom(std::size_t capacity, Ready ready)
    : capacity_(std::max<std::size_t>(capacity, 1)), ready_(std::move(ready)),
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

void WaitingRoom::park(std::shared_ptr<Connection> connection, Clock::time_point deadline) {
    if (!connection->unread.empty()) return ready_(std::move(connection)); // its next request is here
    std::shared_ptr<Connection> evicted;
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

std::shared_ptr<Connection> WaitingRoom::take(Ticket ticket) {
    const auto it = waiting_.find(ticket);
    if (it == waiting_.end()) return nullptr;
    std::shared_ptr<Connection> connection = std::move(it->second.connection);
    epoll_ctl(epoll_, EPOLL_CTL_DEL, connection->fd(), nullptr);
    byDeadline_.erase({it->second.deadline, ticket});
    waiting_.erase(it);
    return connection;
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
        std::vector<std::shared_ptr<Connection>> ready, expired;
        {
            std::lock_guard lock(mutex_);
            for (int i = 0; i < n; ++i) {
                std::shared_ptr<Connection> c = events[i].data.u64 ? take(events[i].data.u64) : nullptr;
                if (c) (hungUp(*c, events[i].events) ? expired : ready).push_back(std::move(c));
            }
            const Clock::time_point now = Clock::now();
            while (!byDeadline_.empty() && byDeadline_.begin()->first <= now)
                expired.push_back(take(byDeadline_.begin()->second));
        }
        // Handed on and closed outside the lock: neither should hold up park().
        for (std::shared_ptr<Connection>& c : ready)
            ready_(std::move(c));
    }
}
