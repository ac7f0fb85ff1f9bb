// Reading and writing a non-blocking file descriptor with the library's time-out rules.
#pragma once

#include "port.h"

#include <string>

namespace communication {

// Owns a file descriptor.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor &&other) noexcept : fd_(other.release()) {}
    FileDescriptor &operator=(FileDescriptor &&other) noexcept;
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    int get() const { return fd_; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_ = -1;
};

struct FdTraits {
    std::string what;             // "serial port /dev/ttyS0", for messages
    bool zeroReadIsEnd = false;   // a stream socket: a read of 0 bytes means the peer closed
    bool isSocket = false;        // send with MSG_NOSIGNAL so a closed peer is an error, not a signal
};

// Waits up to timeout for bytes and returns what arrived. Copes with drivers whose poll always
// reports "ready" (the parallel printer driver) by pausing briefly between empty attempts.
size_t readWithin(int fd, uint8_t *buffer, size_t capacity, milliseconds timeout, const FdTraits &traits);

// Writes everything; the stall time-out restarts whenever the descriptor accepts a byte.
void writeWithin(int fd, const uint8_t *data, size_t length, milliseconds stallTimeout, const FdTraits &traits);

// A device file opened for reading and writing (write-only when the device refuses reading).
FileDescriptor openDevice(const std::string &path, const std::string &what);

// A Port over a file descriptor: parallel ports, USB printer-class devices, sockets.
class FdPort : public Port {
public:
    FdPort(FileDescriptor fd, FdTraits traits) : fd_(std::move(fd)), traits_(std::move(traits)) {}
    size_t read(uint8_t *buffer, size_t capacity, milliseconds timeout) override;
    void write(const uint8_t *data, size_t length, milliseconds stallTimeout) override;

protected:
    int fd() const { return fd_.get(); }

private:
    FileDescriptor fd_;
    FdTraits traits_;
    bool ended_ = false;  // the peer closed the connection
};

}  // namespace communication
