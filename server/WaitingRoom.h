#pragma once
// Connections between requests (new ones, and kept-alive ones after an answer), watched by one
// thread instead of each holding a worker: an idle client costs a descriptor and a few bytes, not
// a thread, so a thousand of them cannot keep a new client from being served.
#include "server/Connection.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

class WaitingRoom {
public:
    using Clock = std::chrono::steady_clock;
    using Ready = std::function<void(std::shared_ptr<Connection>)>;

    // `ready` gets each connection once the head of its next request has arrived (on the room's
    // thread, or on park()'s when it was read already): a client that trickles its head holds no
    // worker, and is closed when `request` has passed since its first byte. At most `capacity`
    // connections wait; a newcomer past that closes the one nearest its deadline.
    WaitingRoom(std::size_t capacity, Clock::duration request, Ready ready);
    ~WaitingRoom();
    WaitingRoom(const WaitingRoom&) = delete;
    WaitingRoom& operator=(const WaitingRoom&) = delete;

    // The connection waits for its next request until `idleUntil`, then is closed.
    void park(std::shared_ptr<Connection> connection, Clock::time_point idleUntil);
    // Closes every waiting connection; connections parked later are closed at once.
    void stop();

private:
    struct Waiting {
        std::shared_ptr<Connection> connection;
        Clock::time_point deadline;
    };
    using Ticket = std::uint64_t; // never reused, unlike descriptors: a late event finds nothing

    void watch();
    // With the lock held: out of the watch list, and handed back.
    std::optional<Waiting> take(Ticket ticket);

    const std::size_t capacity_;
    const Clock::duration request_;
    const Ready ready_;
    const int epoll_, wake_;
    std::mutex mutex_;
    std::map<Ticket, Waiting> waiting_;
    std::set<std::pair<Clock::time_point, Ticket>> byDeadline_;
    Ticket lastTicket_ = 0; // 0 is the wake-up descriptor's
    bool stopping_ = false;
    std::thread thread_;
};
