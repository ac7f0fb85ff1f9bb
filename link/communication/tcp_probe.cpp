#include "tcp_probe.h"

#include "fd_io.h"

#include <netinet/in.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>

namespace communication {
namespace {

constexpr size_t kBatch = 128;
using Clock = std::chrono::steady_clock;

socklen_t sizeOf(const sockaddr_storage &address) {
    return address.ss_family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
}

void probeBatch(const sockaddr_storage *hosts, size_t count, uint16_t port, std::chrono::milliseconds timeout,
                std::vector<bool> &accepted) {
    std::vector<FileDescriptor> sockets(count);
    std::vector<pollfd> waiting;
    std::vector<size_t> owner;
    for (size_t i = 0; i < count; ++i) {
        sockaddr_storage target = hosts[i];
        if (target.ss_family == AF_INET) reinterpret_cast<sockaddr_in *>(&target)->sin_port = htons(port);
        else reinterpret_cast<sockaddr_in6 *>(&target)->sin6_port = htons(port);
        sockets[i] = FileDescriptor(::socket(target.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        if (sockets[i].get() < 0) continue;
        if (::connect(sockets[i].get(), reinterpret_cast<sockaddr *>(&target), sizeOf(target)) == 0) {
            accepted[i] = true;
        } else if (errno == EINPROGRESS) {
            waiting.push_back({sockets[i].get(), POLLOUT, 0});
            owner.push_back(i);
        }
    }
    const Clock::time_point deadline = Clock::now() + timeout;
    size_t open = waiting.size();
    while (open > 0) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        int ready = ::poll(waiting.data(), waiting.size(), int(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;
        for (size_t k = 0; k < waiting.size(); ++k) {
            if (waiting[k].fd < 0 || waiting[k].revents == 0) continue;
            int error = 0;
            socklen_t size = sizeof error;
            if (::getsockopt(waiting[k].fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0)
                accepted[owner[k]] = true;
            waiting[k].fd = -1;  // poll skips negative descriptors
            --open;
        }
    }
}

}  // namespace

std::vector<sockaddr_storage> hostsAccepting(const std::vector<sockaddr_storage> &hosts, uint16_t port,
                                             std::chrono::milliseconds timeout) {
    std::vector<sockaddr_storage> found;
    for (size_t start = 0; start < hosts.size(); start += kBatch) {
        const size_t count = std::min(kBatch, hosts.size() - start);
        std::vector<bool> accepted(count, false);
        probeBatch(hosts.data() + start, count, port, timeout, accepted);
        for (size_t i = 0; i < count; ++i)
            if (accepted[i]) found.push_back(hosts[start + i]);
    }
    return found;
}

}  // namespace communication
