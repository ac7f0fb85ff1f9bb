#include "fd_io.h"

#include "failure.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace communication {
namespace {

using Clock = std::chrono::steady_clock;

// Pause between attempts when poll reported readiness that the next call did not confirm.
constexpr milliseconds kRetryPause{10};

int remainingMs(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : int(std::min<long long>(left, 1 << 30));
}

// Waits for events; true when poll says they (or a hang-up or error) happened.
bool waitFor(int fd, short events, int timeoutMs) {
    pollfd entry{fd, events, 0};
    int ready;
    do ready = ::poll(&entry, 1, timeoutMs);
    while (ready < 0 && errno == EINTR);
    return ready > 0;
}

void pauseUntil(Clock::time_point deadline) {
    std::this_thread::sleep_for(std::min<milliseconds>(kRetryPause, milliseconds(remainingMs(deadline))));
}

}  // namespace

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
}

FileDescriptor &FileDescriptor::operator=(FileDescriptor &&other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

size_t readWithin(int fd, uint8_t *buffer, size_t capacity, milliseconds timeout, const FdTraits &traits) {
    if (capacity == 0) return 0;
    const Clock::time_point deadline = Clock::now() + timeout;
    bool pollSaidReady = false;
    for (;;) {
        ssize_t n = ::read(fd, buffer, capacity);
        if (n > 0) return size_t(n);
        if (n == 0 && traits.zeroReadIsEnd) return 0;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            failWithErrno(CommunicationError::ReadFailed, "cannot read from " + traits.what);
        if (remainingMs(deadline) == 0) return 0;
        if (pollSaidReady) pauseUntil(deadline);
        pollSaidReady = waitFor(fd, POLLIN, remainingMs(deadline));
    }
}

void writeWithin(int fd, const uint8_t *data, size_t length, milliseconds stallTimeout, const FdTraits &traits) {
    size_t sent = 0;
    Clock::time_point deadline = Clock::now() + stallTimeout;
    bool pollSaidReady = false;
    while (sent < length) {
        ssize_t n = traits.isSocket ? ::send(fd, data + sent, length - sent, MSG_NOSIGNAL)
                                    : ::write(fd, data + sent, length - sent);
        if (n > 0) {
            sent += size_t(n);
            deadline = Clock::now() + stallTimeout;
            pollSaidReady = false;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            failWithErrno(CommunicationError::WriteFailed, "cannot write to " + traits.what);
        if (remainingMs(deadline) == 0)
            fail(CommunicationError::WriteTimedOut,
                 traits.what + " accepted no data for " + std::to_string(stallTimeout.count()) + " ms (" +
                     std::to_string(sent) + " of " + std::to_string(length) + " bytes sent)");
        if (pollSaidReady) pauseUntil(deadline);
        pollSaidReady = waitFor(fd, POLLOUT, remainingMs(deadline));
    }
}

FileDescriptor openDevice(const std::string &path, const std::string &what) {
    const int flags = O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(path.c_str(), O_RDWR | flags);
    // Some printer devices only take data; such a port then reads nothing.
    if (fd < 0 && (errno == EACCES || errno == EINVAL || errno == EROFS || errno == EPERM))
        fd = ::open(path.c_str(), O_WRONLY | flags);
    if (fd < 0) {
        CommunicationError code = (errno == ENOENT || errno == ENXIO || errno == ENODEV)
                                      ? CommunicationError::DeviceNotFound
                                      : CommunicationError::OpenFailed;
        failWithErrno(code, "cannot open " + what);
    }
    return FileDescriptor(fd);
}

size_t FdPort::read(uint8_t *buffer, size_t capacity, milliseconds timeout) {
    if (ended_ || (::fcntl(fd(), F_GETFL) & O_ACCMODE) == O_WRONLY) return 0;
    size_t n = readWithin(fd(), buffer, capacity, timeout, traits_);
    if (n == 0 && traits_.zeroReadIsEnd) {
        // Tell a quiet peer from one that closed: only the latter stays readable with no data.
        uint8_t probe;
        ended_ = ::recv(fd(), &probe, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
    }
    return n;
}

void FdPort::write(const uint8_t *data, size_t length, milliseconds stallTimeout) {
    writeWithin(fd(), data, length, stallTimeout, traits_);
}

}  // namespace communication
