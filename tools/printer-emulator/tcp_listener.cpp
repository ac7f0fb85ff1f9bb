#include "tcp_listener.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "printer_emulator.h"

namespace emulator {
namespace {

[[noreturn]] void fail(const std::string &what) { throw EmulatorError(what + ": " + std::strerror(errno)); }

std::string numericHost(const sockaddr_storage &address) {
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET6) {
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6 &>(address).sin6_addr, text, sizeof text);
        return "[" + std::string(text) + "]";
    }
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in &>(address).sin_addr, text, sizeof text);
    return text;
}

}  // namespace

sockaddr_storage loopbackAddress(const std::string &host, uint16_t port) {
    sockaddr_storage storage{};
    std::string name = host == "localhost" ? "127.0.0.1" : host;
    if (name.size() > 2 && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
    auto &v4 = reinterpret_cast<sockaddr_in &>(storage);
    auto &v6 = reinterpret_cast<sockaddr_in6 &>(storage);
    if (inet_pton(AF_INET, name.c_str(), &v4.sin_addr) == 1) {
        if ((ntohl(v4.sin_addr.s_addr) >> 24) != 127)
            throw EmulatorError("\"" + host + "\" is not a loopback address: use 127.0.0.1, another 127.x.y.z, ::1 or localhost");
        v4.sin_family = AF_INET;
        v4.sin_port = htons(port);
        return storage;
    }
    if (inet_pton(AF_INET6, name.c_str(), &v6.sin6_addr) == 1 && IN6_IS_ADDR_LOOPBACK(&v6.sin6_addr)) {
        v6.sin6_family = AF_INET6;
        v6.sin6_port = htons(port);
        return storage;
    }
    throw EmulatorError("\"" + host + "\" is not a loopback address: use 127.0.0.1, another 127.x.y.z, ::1 or localhost");
}

TcpListener::TcpListener(const std::string &host, uint16_t port, bool refusing)
    : address_(loopbackAddress(host, port)),
      length_(address_.ss_family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in)),
      refusing_(refusing) {
    bindSocket();
    sockaddr_storage bound{};
    socklen_t size = sizeof bound;
    if (::getsockname(fd_, reinterpret_cast<sockaddr *>(&bound), &size) != 0) fail("getsockname");
    port_ = ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6 &>(bound).sin6_port
                                              : reinterpret_cast<sockaddr_in &>(bound).sin_port);
    // Later sockets bind the same port again.
    if (address_.ss_family == AF_INET6) reinterpret_cast<sockaddr_in6 &>(address_).sin6_port = htons(port_);
    else reinterpret_cast<sockaddr_in &>(address_).sin_port = htons(port_);
    if (!refusing_ && ::listen(fd_, 16) != 0) {
        ::close(fd_);
        fail("cannot listen on " + address());
    }
}

TcpListener::~TcpListener() {
    if (fd_ >= 0) ::close(fd_);
}

std::string TcpListener::address() const { return numericHost(address_) + ":" + std::to_string(port_); }

void TcpListener::bindSocket() {
    fd_ = ::socket(address_.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) fail("socket");
    // Also lets accepted connections share the port with a socket bound while refusing.
    const int yes = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (::bind(fd_, reinterpret_cast<const sockaddr *>(&address_), length_) != 0) {
        const int error = errno;
        ::close(fd_);
        fd_ = -1;
        errno = error;
        fail("cannot bind " + numericHost(address_) + ":" +
             std::to_string(ntohs(reinterpret_cast<const sockaddr_in &>(address_).sin_port)));
    }
}

void TcpListener::setRefusing(bool refusing) {
    if (refusing == refusing_) return;
    if (refusing) {
        // A listening socket cannot stop listening: replace it with one that is only bound.
        ::close(fd_);
        fd_ = -1;
        bindSocket();
    } else if (::listen(fd_, 16) != 0) {
        fail("cannot listen on " + address());
    }
    refusing_ = refusing;
}

int TcpListener::accept() {
    if (refusing_) return -1;
    const int client = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    return client;
}

}  // namespace emulator
