#include "server/PooledServer.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr std::chrono::milliseconds RefusalTime{1000};

// httplib's accept loop hands each new socket to its task queue; parking it takes microseconds,
// so it is done right there rather than through a thread.
class OnTheSpot final : public httplib::TaskQueue {
public:
    void enqueue(std::function<void()> fn) override { fn(); }
    void shutdown() override {}
};
} // namespace

PooledServer::PooledServer(const ConnectionLimits& limits)
    : limits_(limits), pool_(limits.workers, limits.queued),
      room_(limits.waiting, limits.request, [this](std::shared_ptr<Connection> c) {
          pool_.enqueue([this, c = std::move(c)] { answer(c); });
      }) {
    new_task_queue = [] { return new OnTheSpot; };
}

PooledServer::~PooledServer() {
    halt();
    room_.stop();
    pool_.shutdown();
}

bool PooledServer::bindTo(const std::string& host, int& port) {
    if (port == 0)
        port = bind_to_any_port(host);
    else if (!bind_to_port(host, port))
        port = -1;
    // httplib listens with a backlog of 5: a burst of connections would wait for SYN retries.
    return port > 0 && ::listen(svr_sock_, SOMAXCONN) == 0;
}

bool PooledServer::serve() {
    const bool ok = listen_after_bind();
    room_.stop();
    pool_.shutdown();
    return ok;
}

void PooledServer::halt() {
    const socket_t sock = svr_sock_.exchange(INVALID_SOCKET);
    if (sock == INVALID_SOCKET) return;
    ::shutdown(sock, SHUT_RDWR); // wakes the accept loop, which then finds no socket and ends
    ::close(sock);
}

bool PooledServer::process_and_close_socket(socket_t sock) {
    room_.park(std::make_shared<Connection>(sock), WaitingRoom::Clock::now() + limits_.idle);
    return true;
}

void PooledServer::answer(std::shared_ptr<Connection> connection) {
    for (;;) {
        // The refusing thread answers one 503 and closes; so does the last request a connection may make.
        const bool last =
            BoundedPool::refusingNow() || ++connection->answered >= keep_alive_max_count_ || !is_running();
        bool closedByClient = false;
        bool answered = false;
        {
            // A refused client gets a moment to say its request: one thread serves everyone refused.
            const auto allowed =
                BoundedPool::refusingNow() ? std::min(limits_.request, RefusalTime) : limits_.request;
            DeadlineStream stream(*connection, connection->started + allowed, limits_.idle);
            answered = process_request(stream, last, closedByClient, nullptr);
        }
        if (!answered || closedByClient || last) return;
        if (!askedAgainAtOnce(*connection)) break;
    }
    room_.park(std::move(connection), WaitingRoom::Clock::now() + limits_.idle);
}

bool PooledServer::askedAgainAtOnce(Connection& connection) {
    // A client that keeps its connection mostly asks again within a fraction of a millisecond: a
    // moment's wait here saves the watcher's round trip, unless other connections wait for a worker.
    if (connection.headArrived()) return true;
    pollfd ready{connection.fd(), POLLIN, 0};
    return !pool_.othersWaiting() && ::poll(&ready, 1, 1) > 0 && connection.readWaiting() &&
           connection.headArrived();
}
