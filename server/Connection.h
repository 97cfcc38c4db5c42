#pragma once
// One client's connection as the server keeps it between requests, and the stream a worker reads
// one request from and writes its answer to: reading ends at the request's deadline, so a client
// that trickles bytes (one a second keeps httplib's per-read time-out happy for ever) is cut there.
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

    // Reads what the client has sent so far into `unread`, up to a head's cap; false when the
    // client has gone or the socket failed.
    bool readWaiting();
    // `unread` holds a request's whole head (or as much as a head may be): a worker can take it.
    bool headArrived() const;

    std::string unread;                              // bytes of the next request read so far
    std::size_t answered = 0;                        // requests answered on it
    std::chrono::steady_clock::time_point started{}; // the next request's first byte; {} before it

private:
    int fd_;
};

class DeadlineStream final : public httplib::Stream {
public:
    using Clock = std::chrono::steady_clock;
    // Reading ends at `deadline`; writing goes on while the client takes some of the answer
    // every `writeWait` (a large file to a slow but honest client may take longer than a request).
    DeadlineStream(Connection& connection, Clock::time_point deadline, Clock::duration writeWait);
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
    // True when the socket is ready for `events` before `until`.
    bool wait(short events, Clock::time_point until) const;

    Connection& connection_;
    Clock::time_point deadline_;
    Clock::duration writeWait_;
    std::string buffer_;
    std::size_t used_ = 0; // of buffer_
};
