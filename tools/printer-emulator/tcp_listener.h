// The printer's TCP port on a loopback address. While refusing, the port stays bound but does
// not listen, so a client's connect fails with "connection refused" and the port number is
// kept for when the printer listens again. Used by the serving thread only, except for the
// constructor.
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdint>
#include <optional>
#include <string>

namespace emulator {

// The socket address of a loopback host ("127.0.0.0/8", "::1", "[::1]" or "localhost");
// throws EmulatorError for any other host. No name is looked up.
sockaddr_storage loopbackAddress(const std::string &host, uint16_t port);

class TcpListener {
public:
    // Binds the address (port 0 picks a free one) and listens unless `refusing`.
    TcpListener(const std::string &host, uint16_t port, bool refusing);
    ~TcpListener();
    TcpListener(const TcpListener &) = delete;
    TcpListener &operator=(const TcpListener &) = delete;

    uint16_t port() const { return port_; }
    std::string address() const;  // "127.0.0.1:PORT" or "[::1]:PORT"

    // The listening socket, or -1 while refusing.
    int listeningFd() const { return refusing_ ? -1 : fd_; }
    void setRefusing(bool refusing);
    // An accepted connection (non-blocking), or -1 when none is waiting.
    int accept();

private:
    void bindSocket();

    sockaddr_storage address_{};
    socklen_t length_ = 0;
    uint16_t port_ = 0;
    int fd_ = -1;
    bool refusing_ = false;
};

}  // namespace emulator
