// The networks a user allowed the network search to probe.
#pragma once

#include <sys/socket.h>

#include <string>
#include <vector>

namespace communication {

// The largest network probed, in host addresses; larger ones are refused rather than
// flooded with connection attempts.
constexpr size_t kMostProbedHosts = 1024;

// Every host address of the listed networks of one family (AF_INET or AF_INET6), in order,
// without duplicates. The list is "address/prefix" or "address" (a single host) separated by
// commas, semicolons or white space. IPv4 networks of /30 and wider leave out their network and
// broadcast addresses. Throws InvalidConfiguration for a malformed entry or a network of more
// than kMostProbedHosts hosts.
std::vector<sockaddr_storage> searchHosts(const std::string &networks, int family);

}  // namespace communication
