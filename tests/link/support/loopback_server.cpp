#include "loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace test_support {
namespace {

using Clock = std::chrono::steady_clock;

sockaddr_storage loopbackAddress(const std::string &address, socklen_t &size) {
    sockaddr_storage storage{};
    auto *v4 = reinterpret_cast<sockaddr_in *>(&storage);
    auto *v6 = reinterpret_cast<sockaddr_in6 *>(&storage);
    if (::inet_pton(AF_INET, address.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        size = sizeof *v4;
    } else if (::inet_pton(AF_INET6, address.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        size = sizeof *v6;
    } else {
        throw std::runtime_error("not an address: " + address);
    }
    return storage;
}

bool waitReadable(int fd, std::chrono::milliseconds timeout) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, int(timeout.count())) > 0;
}

int leftMs(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

}  // namespace

ListeningSocket::ListeningSocket(const std::string &address, int receiveBuffer, uint16_t port) {
    socklen_t size = 0;
    sockaddr_storage storage = loopbackAddress(address, size);
    if (storage.ss_family == AF_INET) reinterpret_cast<sockaddr_in *>(&storage)->sin_port = htons(port);
    else reinterpret_cast<sockaddr_in6 *>(&storage)->sin6_port = htons(port);
    fd_ = ::socket(storage.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
    int on = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (receiveBuffer > 0) ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    if (::bind(fd_, reinterpret_cast<sockaddr *>(&storage), size) != 0 || ::listen(fd_, 64) != 0)
        throw std::runtime_error("cannot listen on " + address + ": " + std::strerror(errno));
    ::getsockname(fd_, reinterpret_cast<sockaddr *>(&storage), &size);
    port_ = ntohs(storage.ss_family == AF_INET ? reinterpret_cast<sockaddr_in *>(&storage)->sin_port
                                               : reinterpret_cast<sockaddr_in6 *>(&storage)->sin6_port);
}

ListeningSocket::~ListeningSocket() {
    if (fd_ >= 0) ::close(fd_);
}

int ListeningSocket::accept(std::chrono::milliseconds timeout) const {
    if (!waitReadable(fd_, timeout)) return -1;
    return ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
}

LoopbackServer::LoopbackServer(const std::string &address, Session session, int receiveBuffer)
    : socket_(address, receiveBuffer), session_(std::move(session)) {
    thread_ = std::thread([this] {
        while (!stopping_.load()) {
            int fd = socket_.accept(20ms);
            if (fd < 0) continue;
            ++sessions_;
            session_(fd, stopping_);
            ::close(fd);
        }
    });
}

LoopbackServer::~LoopbackServer() {
    stopping_.store(true);
    thread_.join();
}

std::string readUntilClosed(int fd, std::chrono::milliseconds timeout) {
    std::string data;
    const Clock::time_point deadline = Clock::now() + timeout;
    char chunk[65536];
    while (waitReadable(fd, std::chrono::milliseconds(leftMs(deadline)))) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n <= 0) break;
        data.append(chunk, size_t(n));
    }
    return data;
}

std::string readAtLeast(int fd, size_t count, std::chrono::milliseconds timeout) {
    std::string data;
    const Clock::time_point deadline = Clock::now() + timeout;
    char chunk[4096];
    while (data.size() < count && waitReadable(fd, std::chrono::milliseconds(leftMs(deadline)))) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n <= 0) break;
        data.append(chunk, size_t(n));
    }
    return data;
}

void writeAll(int fd, const std::string &data) {
    size_t sent = 0;
    while (sent < data.size()) {
        ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == ENOTSOCK) n = ::write(fd, data.data() + sent, data.size() - sent);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw std::runtime_error(std::string("write: ") + std::strerror(errno));
        sent += size_t(n);
    }
}

uint16_t unusedPort(const std::string &address) {
    // The port is free once the listening socket closes; nothing else on loopback takes it
    // within the next moments of a test.
    ListeningSocket probe(address);
    return probe.port();
}

}  // namespace test_support
