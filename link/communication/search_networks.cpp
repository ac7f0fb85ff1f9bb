#include "search_networks.h"

#include "failure.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <set>

namespace communication {
namespace {

struct Network {
    int family;
    std::array<uint8_t, 16> base{};  // the address with host bits cleared
    int prefix;
};

[[noreturn]] void refuse(const std::string &entry, const std::string &why) {
    fail(CommunicationError::InvalidConfiguration, "KDX_SEARCH_NETWORKS entry \"" + entry + "\" " + why);
}

Network parseNetwork(const std::string &entry) {
    size_t slash = entry.find('/');
    std::string address = entry.substr(0, slash);
    Network network{};
    if (::inet_pton(AF_INET, address.c_str(), network.base.data()) == 1) network.family = AF_INET;
    else if (::inet_pton(AF_INET6, address.c_str(), network.base.data()) == 1) network.family = AF_INET6;
    else refuse(entry, "is not an IPv4 or IPv6 address");
    const int bits = network.family == AF_INET ? 32 : 128;
    network.prefix = bits;
    if (slash != std::string::npos) {
        const char *first = entry.data() + slash + 1, *last = entry.data() + entry.size();
        auto [end, error] = std::from_chars(first, last, network.prefix);
        if (first == last || error != std::errc() || end != last || network.prefix < 0 || network.prefix > bits)
            refuse(entry, "has no valid prefix length");
    }
    if ((size_t(1) << std::min(bits - network.prefix, 62)) > kMostProbedHosts)
        refuse(entry, "is larger than the " + std::to_string(kMostProbedHosts) + " hosts a search may probe");
    for (int bit = network.prefix; bit < bits; ++bit) network.base[size_t(bit / 8)] &= uint8_t(~(0x80 >> (bit % 8)));
    return network;
}

// base + offset in the host part (at most 10 bits wide, see kMostProbedHosts).
sockaddr_storage hostAddress(const Network &network, uint32_t offset) {
    std::array<uint8_t, 16> bytes = network.base;
    const size_t size = network.family == AF_INET ? 4 : 16;
    for (size_t i = size; i-- > 0 && offset;) {
        uint32_t sum = bytes[i] + (offset & 0xFF);
        bytes[i] = uint8_t(sum);
        offset = (offset >> 8) + (sum >> 8);
    }
    sockaddr_storage storage{};
    if (network.family == AF_INET) {
        auto *v4 = reinterpret_cast<sockaddr_in *>(&storage);
        v4->sin_family = AF_INET;
        std::memcpy(&v4->sin_addr, bytes.data(), 4);
    } else {
        auto *v6 = reinterpret_cast<sockaddr_in6 *>(&storage);
        v6->sin6_family = AF_INET6;
        std::memcpy(&v6->sin6_addr, bytes.data(), 16);
    }
    return storage;
}

std::vector<std::string> entries(const std::string &networks) {
    std::vector<std::string> result;
    size_t start = 0;
    while (start < networks.size()) {
        size_t end = networks.find_first_of(",; \t\n", start);
        if (end == std::string::npos) end = networks.size();
        if (end > start) result.push_back(networks.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

}  // namespace

std::vector<sockaddr_storage> searchHosts(const std::string &networks, int family) {
    std::vector<sockaddr_storage> hosts;
    std::set<std::array<uint8_t, 16>> seen;
    for (const std::string &entry : entries(networks)) {
        Network network = parseNetwork(entry);
        if (network.family != family) continue;
        const int hostBits = (family == AF_INET ? 32 : 128) - network.prefix;
        const uint32_t count = uint32_t(1) << hostBits;
        // An IPv4 network's first and last addresses name the network and its broadcast.
        const bool skipEnds = family == AF_INET && hostBits >= 2;
        for (uint32_t offset = skipEnds ? 1 : 0; offset < (skipEnds ? count - 1 : count); ++offset) {
            sockaddr_storage host = hostAddress(network, offset);
            std::array<uint8_t, 16> key{};
            if (family == AF_INET) std::memcpy(key.data(), &reinterpret_cast<sockaddr_in *>(&host)->sin_addr, 4);
            else std::memcpy(key.data(), &reinterpret_cast<sockaddr_in6 *>(&host)->sin6_addr, 16);
            if (seen.insert(key).second) hosts.push_back(host);
        }
    }
    return hosts;
}

}  // namespace communication
