#include "dnssd_browser.h"

#include "failure.h"

#include <avahi-client/client.h>
#include <avahi-client/lookup.h>
#include <avahi-common/error.h>
#include <avahi-common/simple-watch.h>
#include <net/if.h>
#include <sys/socket.h>

#include <algorithm>

namespace communication {
namespace {

using Clock = std::chrono::steady_clock;

struct Browse {
    AvahiClient *client = nullptr;
    AvahiProtocol protocol = AVAHI_PROTO_UNSPEC;
    int pending = 0;          // resolvers still running
    bool listed = false;      // the daemon said it has sent every known service
    std::string failure;
    std::vector<std::string> addresses;
};

void resolved(AvahiServiceResolver *resolver, AvahiIfIndex interface, AvahiProtocol, AvahiResolverEvent event,
              const char *, const char *, const char *, const char *, const AvahiAddress *address, uint16_t,
              AvahiStringList *, AvahiLookupResultFlags, void *data) {
    auto *browse = static_cast<Browse *>(data);
    if (event == AVAHI_RESOLVER_FOUND && address) {
        char text[AVAHI_ADDRESS_STR_MAX];
        avahi_address_snprint(text, sizeof text, address);
        std::string found = text;
        // A link-local IPv6 address is only reachable through its interface.
        char name[IF_NAMESIZE];
        if (address->proto == AVAHI_PROTO_INET6 && found.rfind("fe80:", 0) == 0 && interface >= 0 &&
            ::if_indextoname(unsigned(interface), name))
            found += std::string("%") + name;
        if (std::find(browse->addresses.begin(), browse->addresses.end(), found) == browse->addresses.end())
            browse->addresses.push_back(found);
    }
    avahi_service_resolver_free(resolver);
    --browse->pending;
}

void browsed(AvahiServiceBrowser *, AvahiIfIndex interface, AvahiProtocol protocol, AvahiBrowserEvent event,
             const char *name, const char *type, const char *domain, AvahiLookupResultFlags, void *data) {
    auto *browse = static_cast<Browse *>(data);
    switch (event) {
    case AVAHI_BROWSER_NEW:
        if (avahi_service_resolver_new(browse->client, interface, protocol, name, type, domain, browse->protocol,
                                       AvahiLookupFlags(0), resolved, browse))
            ++browse->pending;
        break;
    case AVAHI_BROWSER_ALL_FOR_NOW: browse->listed = true; break;
    case AVAHI_BROWSER_FAILURE: browse->failure = avahi_strerror(avahi_client_errno(browse->client)); break;
    default: break;
    }
}

void clientState(AvahiClient *, AvahiClientState, void *) {}

}  // namespace

std::vector<std::string> dnssdPrinterAddresses(int family, std::chrono::milliseconds budget) {
    Browse browse;
    browse.protocol = family == AF_INET6 ? AVAHI_PROTO_INET6 : AVAHI_PROTO_INET;
    AvahiSimplePoll *poll = avahi_simple_poll_new();
    if (!poll) fail(CommunicationError::SearchFailed, "cannot start the DNS-SD search");
    int error = 0;
    browse.client = avahi_client_new(avahi_simple_poll_get(poll), AvahiClientFlags(0), clientState, nullptr, &error);
    if (!browse.client) {
        avahi_simple_poll_free(poll);
        // No daemon (or no message bus to reach one) simply means nothing announces itself.
        if (error == AVAHI_ERR_NO_DAEMON || error == AVAHI_ERR_DISCONNECTED) return {};
        fail(CommunicationError::SearchFailed, std::string("DNS-SD search failed: ") + avahi_strerror(error));
    }
    AvahiServiceBrowser *browser =
        avahi_service_browser_new(browse.client, AVAHI_IF_UNSPEC, browse.protocol, "_pdl-datastream._tcp", nullptr,
                                  AvahiLookupFlags(0), browsed, &browse);
    if (!browser) browse.failure = avahi_strerror(avahi_client_errno(browse.client));
    const Clock::time_point deadline = Clock::now() + budget;
    while (browser && browse.failure.empty() && !(browse.listed && browse.pending == 0)) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || avahi_simple_poll_iterate(poll, int(left)) != 0) break;
    }
    if (browser) avahi_service_browser_free(browser);
    avahi_client_free(browse.client);  // also frees resolvers still running
    avahi_simple_poll_free(poll);
    if (!browse.failure.empty() && browse.addresses.empty())
        fail(CommunicationError::SearchFailed, "DNS-SD search failed: " + browse.failure);
    return browse.addresses;
}

}  // namespace communication
