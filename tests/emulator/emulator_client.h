// Test-side helpers that talk to an emulated printer the way a host does: through a real
// loopback socket or the real pseudo-terminal.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "printer_emulator.h"

namespace emulator_test {

using namespace std::chrono_literals;

// A file descriptor closed on destruction.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd();
    Fd(Fd &&other) noexcept : fd_(other.release()) {}
    Fd &operator=(Fd &&other) noexcept;
    int get() const { return fd_; }
    int release();
    void reset();

private:
    int fd_ = -1;
};

// A client connection to 127.0.0.1:port.
class TcpClient {
public:
    explicit TcpClient(uint16_t port);  // fails the test (throws) when it cannot connect
    void send(std::string_view bytes);
    void shutdownWrite();
    int fd() const { return fd_.get(); }

private:
    Fd fd_;
};

// Connects and returns errno (0 on success): for refusal tests.
int connectError(uint16_t port);

// The pseudo-terminal's slave, opened raw.
class TerminalClient {
public:
    explicit TerminalClient(const std::string &path);
    void send(std::string_view bytes);
    int fd() const { return fd_.get(); }

private:
    Fd fd_;
};

// Reads what arrives: waits up to `first` for the first byte, then goes on while more comes
// within `idle`. Returns what was read; stops early at `limit` bytes.
std::string readReply(int fd, std::chrono::milliseconds first = 3s, std::chrono::milliseconds idle = 30ms,
                      size_t limit = 1 << 20);

// Whether nothing at all arrives within `wait`.
bool staysQuiet(int fd, std::chrono::milliseconds wait);

// Reads until the peer closes or resets; returns the bytes and whether it ended that way
// within `wait`.
struct Closing {
    std::string bytes;
    bool closed = false;
};
Closing readUntilClosed(int fd, std::chrono::milliseconds wait);

// Sends a query and returns its reply once the printer has written `replies` replies more.
std::string exchange(emulator::Printer &printer, int fd, std::string_view query, size_t replies = 1);
std::string exchange(emulator::Printer &printer, TcpClient &client, std::string_view query, size_t replies = 1);
// One query on a connection of its own, as the host's transactions do.
std::string query(emulator::Printer &printer, std::string_view bytes, size_t replies = 1);
// Sends a stream on a connection of its own and waits until the printer has used all of it.
void deliver(emulator::Printer &printer, std::string_view bytes);

// Sends the bytes in pieces of varying size, each read by the printer before the next is
// sent, so that commands arrive split across reads.
void sendInPieces(emulator::Printer &printer, TcpClient &client, std::string_view bytes);

// The total of bytes the printer received on all its streams.
size_t receivedBytes(const emulator::Printer &printer);

}  // namespace emulator_test
