#include "tcp_port.h"

#include "failure.h"
#include "fd_io.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace communication {
namespace {

struct AddressList {
    addrinfo *first = nullptr;
    ~AddressList() {
        if (first) ::freeaddrinfo(first);
    }
};

// 0 when connected, else the errno of the failure (ETIMEDOUT when the time ran out).
int connectWithin(int fd, const addrinfo &address, milliseconds timeout) {
    if (::connect(fd, address.ai_addr, address.ai_addrlen) == 0) return 0;
    if (errno != EINPROGRESS) return errno;
    pollfd entry{fd, POLLOUT, 0};
    int ready;
    do ready = ::poll(&entry, 1, int(timeout.count()));
    while (ready < 0 && errno == EINTR);
    if (ready == 0) return ETIMEDOUT;
    if (ready < 0) return errno;
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return errno;
    return error;
}

// The kernel takes a whole stream into its buffers long before the printer has read it, so a
// printer that drops the connection mid-stream would go unnoticed. Before closing after a
// write, the connection is therefore ended in order: our side shuts down, and the printer's
// orderly close confirms it took everything, while a reset says it did not. A printer that
// keeps the connection open past the time-out is taken to have the data.
class TcpPort : public FdPort {
public:
    using FdPort::FdPort;

    void write(const uint8_t *data, size_t length, milliseconds stallTimeout) override {
        FdPort::write(data, length, stallTimeout);
        wrote_ = wrote_ || length > 0;
    }

    void finish(milliseconds timeout) override {
        if (!wrote_) return;
        int error = 0;
        socklen_t size = sizeof error;
        ::getsockopt(fd(), SOL_SOCKET, SO_ERROR, &error, &size);
        if (error == 0 && ::shutdown(fd(), SHUT_WR) != 0) error = errno;
        if (error != 0)
            fail(CommunicationError::WriteFailed,
                 std::string("the printer dropped the connection before it had all the data: ") + std::strerror(error));
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        uint8_t discard[1024];
        for (;;) {
            const auto left = std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return;
            pollfd entry{fd(), POLLIN, 0};
            if (::poll(&entry, 1, int(left.count())) <= 0) continue;
            const ssize_t n = ::recv(fd(), discard, sizeof discard, 0);
            if (n == 0) return;
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                fail(CommunicationError::WriteFailed,
                     std::string("the printer dropped the connection before it had all the data: ") +
                         std::strerror(errno));
        }
    }

private:
    bool wrote_ = false;
};

}  // namespace

std::unique_ptr<Port> connectTcp(const std::string &hostText, int port, milliseconds timeout) {
    std::string host = hostText;
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    if (host.empty()) fail(CommunicationError::InvalidPortName, "no network address is set");
    if (port < 1 || port > 65535)
        fail(CommunicationError::InvalidPortName, std::to_string(port) + " is not a TCP port number");
    const std::string what = "network printer " + host + " port " + std::to_string(port);

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    AddressList addresses;
    if (int error = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &addresses.first))
        fail(CommunicationError::InvalidPortName, "cannot find " + what + ": " + ::gai_strerror(error));

    int lastError = 0;
    for (const addrinfo *address = addresses.first; address; address = address->ai_next) {
        FileDescriptor fd(::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                                   address->ai_protocol));
        if (fd.get() < 0) {
            lastError = errno;
            continue;
        }
        lastError = connectWithin(fd.get(), *address, timeout);
        if (lastError == 0) {
            int on = 1;
            // Queries are short; send them at once.
            ::setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            return std::make_unique<TcpPort>(std::move(fd), FdTraits{what, true, true});
        }
    }
    if (lastError == ETIMEDOUT)
        fail(CommunicationError::ConnectTimedOut,
             what + " did not answer within " + std::to_string(timeout.count()) + " ms");
    fail(CommunicationError::ConnectFailed, "cannot connect to " + what + ": " + std::strerror(lastError));
}

}  // namespace communication
