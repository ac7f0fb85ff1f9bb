#include "network_search.h"

#include "communication_environment.h"
#include "dnssd_browser.h"
#include "failure.h"
#include "search_networks.h"
#include "tcp_probe.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <algorithm>

namespace communication {
namespace {

std::string addressText(const sockaddr_storage &address) {
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET)
        ::inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in *>(&address)->sin_addr, text, sizeof text);
    else
        ::inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6 *>(&address)->sin6_addr, text, sizeof text);
    return text;
}

}  // namespace

std::vector<std::string> searchNetworkPrinters(int ipVersion) {
    if (ipVersion != 2 && ipVersion != 3)
        fail(CommunicationError::InvalidArgument, "IP version " + std::to_string(ipVersion) + " is not 2 (IPv4) or 3 (IPv6)");
    const int family = ipVersion == 2 ? AF_INET : AF_INET6;
    // Read every setting first, so a malformed one is reported before anything goes out.
    const std::vector<sockaddr_storage> hosts = searchHosts(searchNetworks(), family);
    const uint16_t port = searchPort();
    const auto timeout = probeTimeout();

    std::vector<std::string> found;
    if (dnssdEnabled()) found = dnssdPrinterAddresses(family, dnssdTimeout());
    for (const sockaddr_storage &host : hostsAccepting(hosts, port, timeout)) {
        std::string text = addressText(host);
        if (std::find(found.begin(), found.end(), text) == found.end()) found.push_back(text);
    }
    return found;
}

}  // namespace communication
