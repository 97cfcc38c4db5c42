#include "server/Connection.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
constexpr std::size_t ReadChunk = 4096;    // what a line reader asking byte by byte is served from
constexpr std::size_t MaxHead = 16 * 1024; // httplib refuses longer request lines and headers

// The numeric address of one end of the socket: getpeername for the client's, getsockname for ours.
void numericAddress(int fd, int (*end)(int, sockaddr*, socklen_t*), std::string& ip, int& port) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    char host[NI_MAXHOST], service[NI_MAXSERV];
    if (end(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        getnameinfo(reinterpret_cast<const sockaddr*>(&address), length, host, sizeof host, service,
                    sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) != 0)
        return;
    ip = host;
    port = std::atoi(service);
}
} // namespace

Connection::~Connection() {
    ::shutdown(fd_, SHUT_RDWR);
    ::close(fd_);
}

bool Connection::readWaiting() {
    char bytes[ReadChunk];
    while (unread.size() < MaxHead) {
        const ssize_t n = ::recv(fd_, bytes, std::min(sizeof bytes, MaxHead - unread.size()), MSG_DONTWAIT);
        if (n > 0 && unread.empty()) started = std::chrono::steady_clock::now();
        if (n > 0) unread.append(bytes, std::size_t(n));
        if (n == 0) return headArrived(); // a request sent before the client half-closed is answered
        if (n < 0 && errno != EINTR) return errno == EAGAIN;
    }
    return true;
}

bool Connection::headArrived() const {
    return unread.size() >= MaxHead || unread.find("\r\n\r\n") != std::string::npos ||
           unread.find("\n\n") != std::string::npos;
}

DeadlineStream::DeadlineStream(Connection& connection, Clock::time_point deadline, Clock::duration writeWait)
    : connection_(connection), deadline_(deadline), writeWait_(writeWait),
      buffer_(std::move(connection.unread)) {
    connection.unread.clear();
}

DeadlineStream::~DeadlineStream() {
    connection_.unread = buffer_.substr(used_);
    connection_.started = connection_.unread.empty() ? Clock::time_point{} : Clock::now();
}

bool DeadlineStream::wait(short events, Clock::time_point until) const {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
        if (left.count() <= 0) return false;
        pollfd p{connection_.fd(), events, 0};
        const int ready = ::poll(&p, 1, int(std::min<long long>(left.count(), 60000)));
        if (ready > 0) return true; // a hang-up or an error too: the read or write that follows says it
        if (ready < 0 && errno != EINTR) return false;
    }
}

bool DeadlineStream::is_readable() const {
    return used_ < buffer_.size() || wait(POLLIN, deadline_);
}

bool DeadlineStream::is_writable() const {
    return wait(POLLOUT, Clock::now() + writeWait_);
}

ssize_t DeadlineStream::read(char* ptr, size_t size) {
    while (used_ == buffer_.size()) {
        if (!wait(POLLIN, deadline_)) return -1;
        buffer_.resize(ReadChunk);
        used_ = 0;
        const ssize_t n = ::recv(connection_.fd(), buffer_.data(), ReadChunk, MSG_DONTWAIT);
        buffer_.resize(std::size_t(std::max<ssize_t>(n, 0)));
        if (n == 0) return 0;
        if (n < 0 && errno != EAGAIN && errno != EINTR) return -1;
    }
    const std::size_t n = std::min(size, buffer_.size() - used_);
    std::memcpy(ptr, buffer_.data() + used_, n);
    used_ += n;
    return ssize_t(n);
}

ssize_t DeadlineStream::write(const char* ptr, size_t size) {
    if (!is_writable()) return -1;
    const ssize_t n = ::send(connection_.fd(), ptr, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) return errno == EAGAIN || errno == EINTR ? 0 : -1; // the caller writes the rest again
    return n;
}

void DeadlineStream::get_remote_ip_and_port(std::string& ip, int& port) const {
    numericAddress(connection_.fd(), getpeername, ip, port);
}

void DeadlineStream::get_local_ip_and_port(std::string& ip, int& port) const {
    numericAddress(connection_.fd(), getsockname, ip, port);
}
