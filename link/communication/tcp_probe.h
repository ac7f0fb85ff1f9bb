// Which hosts accept TCP connections on a port: the network search's probe.
#pragma once

#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace communication {

// Tries every host at once (in batches, so descriptors last) and returns those that accepted
// a connection within timeout, in the order given. Connections are closed at once.
std::vector<sockaddr_storage> hostsAccepting(const std::vector<sockaddr_storage> &hosts, uint16_t port,
                                             std::chrono::milliseconds timeout);

}  // namespace communication
