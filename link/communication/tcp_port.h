// Network printers over TCP, IPv4 or IPv6.
#pragma once

#include "port.h"

#include <string>

namespace communication {

// How long connecting may take; Open comes before any SetTimeouts.
constexpr milliseconds kConnectTimeout{3000};

// Connects to host (an IPv4 or IPv6 address, brackets allowed, or a host name) and port, trying
// each address the name stands for until one answers within timeout. Throws InvalidPortName,
// ConnectFailed or ConnectTimedOut.
std::unique_ptr<Port> connectTcp(const std::string &host, int port, milliseconds timeout = kConnectTimeout);

}  // namespace communication
