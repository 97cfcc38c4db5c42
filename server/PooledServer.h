#pragma once
// httplib's server with connections handled so that hostile clients cannot starve the others:
// between requests a connection waits in the WaitingRoom (no thread), a request is read and
// answered on one of a bounded pool of workers, and the whole request, from its first byte to the
// answer's last, must be done by a deadline. httplib's own handling keeps a worker per connection
// for as long as the client keeps it open, and its read time-out restarts with every byte.
#include "server/Limits.h"
#include "server/WaitingRoom.h"

#include <httplib.h>

#include <chrono>

struct ConnectionLimits {
    int workers = 8;
    int queued = 64;            // connections with a request waiting for a worker; past this, 503
    std::size_t waiting = 4096; // idle connections kept; past this the oldest is closed
    std::chrono::milliseconds idle{
        5000}; // for a first byte, between requests, and for each part of an answer taken
    std::chrono::milliseconds request{10000}; // for one request, from its first byte to its answer
};

class PooledServer final : public httplib::Server {
public:
    explicit PooledServer(const ConnectionLimits& limits);
    ~PooledServer() override;

    // Binds; port 0 picks a free one. False when the address cannot be bound.
    bool bindTo(const std::string& host, int& port);
    // Accepts and serves until halt(); then closes every connection and ends the workers.
    bool serve();
    // Ends serve(), even one not begun yet (httplib's stop() does nothing before it listens, so a
    // stop asked for early would be lost).
    void halt();

private:
    // Called by httplib's accept loop for each new connection (on that thread): parks it.
    bool process_and_close_socket(socket_t sock) override;
    // On a worker: one request on the connection, which then waits for the next or is closed.
    void answer(std::shared_ptr<Connection> connection);
    // True when the connection's next request has come (its head whole) right after the answer.
    bool askedAgainAtOnce(Connection& connection);

    const ConnectionLimits limits_;
    BoundedPool pool_;
    WaitingRoom room_;
};
