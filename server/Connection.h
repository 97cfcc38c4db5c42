#pragma once
// One client's connection as the server keeps it between requests, and the stream a worker reads
// one request from and writes its answer to: every wait on the socket ends at the request's
// deadline, so a client that trickles bytes (one a second keeps httplib's per-read time-out
// happy for ever) is cut there.
#include <httplib.h>

#include <chrono>
#include <string>

class Connection {
public:
    explicit Connection(int fd) : fd_(fd) {}
    ~Connection(); // shuts the socket down and closes it: whoever lets go last ends it
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    int fd() const { return fd_; }

    std::string unread;       // bytes read past the last request (a pipelined next one)
    std::size_t answered = 0; // requests answered on it

private:
    int fd_;
};

class DeadlineStream final : public httplib::Stream {
public:
    DeadlineStream(Connection& connection, std::chrono::steady_clock::time_point deadline);
    ~DeadlineStream() override; // hands what was read and not used back to the connection
    DeadlineStream(const DeadlineStream&) = delete;
    DeadlineStream& operator=(const DeadlineStream&) = delete;

    bool is_readable() const override;
    bool is_writable() const override;
    // -1 once the deadline has passed or the socket failed; 0 at the client's end of stream.
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override { return connection_.fd(); }

private:
    // True when the socket is ready for `events` before the deadline.
    bool wait(short events) const;

    Connection& connection_;
    std::chrono::steady_clock::time_point deadline_;
    std::string buffer_;
    std::size_t used_ = 0; // of buffer_
};
