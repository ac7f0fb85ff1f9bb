#include "emulator_client.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace emulator_test {
namespace {

sockaddr_in loopback(uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// send() keeps a closed peer from raising SIGPIPE; terminals take write().
void sendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == ENOTSOCK) n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            throw std::runtime_error(std::string("send: ") + std::strerror(errno));
        }
        bytes.remove_prefix(size_t(n));
    }
}

bool readable(int fd, std::chrono::milliseconds wait) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, int(wait.count())) > 0;
}

}  // namespace

Fd::~Fd() { reset(); }

Fd &Fd::operator=(Fd &&other) noexcept {
    if (this != &other) {
        reset();
        fd_ = other.release();
    }
    return *this;
}

int Fd::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void Fd::reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

TcpClient::TcpClient(uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    const sockaddr_in address = loopback(port);
    if (::connect(fd_.get(), reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
        throw std::runtime_error(std::string("connect: ") + std::strerror(errno));
}

void TcpClient::send(std::string_view bytes) { sendAll(fd_.get(), bytes); }

void TcpClient::shutdownWrite() { ::shutdown(fd_.get(), SHUT_WR); }

int connectError(uint16_t port) {
    Fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in address = loopback(port);
    return ::connect(fd.get(), reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0 ? 0 : errno;
}

TerminalClient::TerminalClient(const std::string &path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    if (fd_.get() < 0) throw std::runtime_error("open " + path + ": " + std::strerror(errno));
    termios settings{};
    ::tcgetattr(fd_.get(), &settings);
    cfmakeraw(&settings);
    ::tcsetattr(fd_.get(), TCSANOW, &settings);
}

void TerminalClient::send(std::string_view bytes) { sendAll(fd_.get(), bytes); }

std::string readReply(int fd, std::chrono::milliseconds first, std::chrono::milliseconds idle, size_t limit) {
    std::string bytes;
    char buffer[4096];
    std::chrono::milliseconds wait = first;
    while (bytes.size() < limit && readable(fd, wait)) {
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, limit - bytes.size()));
        if (n <= 0) break;
        bytes.append(buffer, size_t(n));
        wait = idle;
    }
    return bytes;
}

bool staysQuiet(int fd, std::chrono::milliseconds wait) { return !readable(fd, wait); }

Closing readUntilClosed(int fd, std::chrono::milliseconds wait) {
    Closing result;
    char buffer[4096];
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !readable(fd, left)) return result;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            result.bytes.append(buffer, size_t(n));
            continue;
        }
        result.closed = n == 0 || errno == ECONNRESET;
        return result;
    }
}

std::string exchange(emulator::Printer &printer, int fd, std::string_view query, size_t replies) {
    const size_t before = printer.repliesSent();
    sendAll(fd, query);
    if (!printer.waitUntil([&] { return printer.repliesSent() >= before + replies; }, 5s)) return {};
    return readReply(fd, 3s, 20ms);
}

std::string exchange(emulator::Printer &printer, TcpClient &client, std::string_view query, size_t replies) {
    return exchange(printer, client.fd(), query, replies);
}

std::string query(emulator::Printer &printer, std::string_view bytes, size_t replies) {
    TcpClient client(printer.port());
    return exchange(printer, client, bytes, replies);
}

size_t receivedBytes(const emulator::Printer &printer) {
    size_t total = 0;
    for (const std::string &stream : printer.receivedStreams()) total += stream.size();
    return total;
}

void deliver(emulator::Printer &printer, std::string_view bytes) {
    const size_t streamsBefore = printer.receivedStreams().size();
    {
        TcpClient client(printer.port());
        client.send(bytes);
    }
    // The printer serves one connection at a time, to its end: once every connection it took,
    // this one included, is finished, every command in it has been applied.
    printer.waitUntil(
        [&] {
            const size_t streams = printer.receivedStreams().size();
            return streams > streamsBefore && printer.finishedConnections() == streams;
        },
        5s);
}

void sendInPieces(emulator::Printer &printer, TcpClient &client, std::string_view bytes) {
    static constexpr size_t kSizes[] = {1, 2, 3, 5, 8, 13, 1, 64};
    size_t piece = 0;
    while (!bytes.empty()) {
        const size_t size = std::min(kSizes[piece++ % std::size(kSizes)], bytes.size());
        const size_t expected = receivedBytes(printer) + size;
        client.send(bytes.substr(0, size));
        printer.waitUntil([&] { return receivedBytes(printer) >= expected; }, 5s);
        bytes.remove_prefix(size);
    }
}

}  // namespace emulator_test
