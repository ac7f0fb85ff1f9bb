// The network printer search behind GetPrinterIP.
#pragma once

#include <string>
#include <vector>

namespace communication {

// Addresses for ipVersion 2 (IPv4) or 3 (IPv6): first what DNS-SD finds, then the hosts of the
// networks in KDX_SEARCH_NETWORKS that accept a connection on KDX_SEARCH_PORT. Nothing is
// probed unless networks are configured. Throws InvalidArgument for another version.
std::vector<std::string> searchNetworkPrinters(int ipVersion);

}  // namespace communication
