// TCP servers on loopback addresses for tests: a listening socket, and a thread that serves
// the connections it accepts.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace test_support {

using namespace std::chrono_literals;

// A socket listening on address (e.g. "127.0.0.1", "::1") and port (0: a free one).
// receiveBuffer > 0 makes accepted connections take little data before the sender must wait.
class ListeningSocket {
public:
    explicit ListeningSocket(const std::string &address = "127.0.0.1", int receiveBuffer = 0, uint16_t port = 0);
    ~ListeningSocket();
    ListeningSocket(const ListeningSocket &) = delete;
    ListeningSocket &operator=(const ListeningSocket &) = delete;

    int fd() const { return fd_; }
    uint16_t port() const { return port_; }

    // A connection waiting to be accepted, or -1 when none arrives within timeout.
    int accept(std::chrono::milliseconds timeout) const;

private:
    int fd_ = -1;
    uint16_t port_ = 0;
};

// Serves connections on its own thread: each accepted connection is handed to session, which
// owns it (the server closes it afterwards). stopping() tells a session to finish.
class LoopbackServer {
public:
    using Session = std::function<void(int fd, const std::atomic<bool> &stopping)>;

    LoopbackServer(const std::string &address, Session session, int receiveBuffer = 0);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer &) = delete;
    LoopbackServer &operator=(const LoopbackServer &) = delete;

    uint16_t port() const { return socket_.port(); }
    int sessions() const { return sessions_.load(); }

private:
    ListeningSocket socket_;
    Session session_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> sessions_{0};
    std::thread thread_;
};

// Reads until the peer closes or timeout passes; what arrived.
std::string readUntilClosed(int fd, std::chrono::milliseconds timeout);

// Reads until at least count bytes arrived or timeout passes.
std::string readAtLeast(int fd, size_t count, std::chrono::milliseconds timeout);

void writeAll(int fd, const std::string &data);

// A port on 127.0.0.1 that nothing listens on (bound, then released).
uint16_t unusedPort(const std::string &address = "127.0.0.1");

}  // namespace test_support
