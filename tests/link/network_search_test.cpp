#include "support/communication_helpers.h"
#include "support/loopback_server.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace test_support;

struct Search {
    int count;
    std::string text;
};

Search search(int ipVersion, size_t capacity = 1024) {
    std::vector<char> buffer(capacity, '\0');
    CCommunicationFactory factory;
    int count = factory.CreateFacory(portOfKind(7))->GetPrinterIP(buffer.data(), capacity, ipVersion);
    return {count, std::string(buffer.data())};
}

// Printers are listening sockets on loopback addresses, all on one port that the search is
// told to probe. DNS-SD stays out of these tests so their results are exact.
class NetworkSearchTest : public ::testing::Test {
protected:
    void listenOn(const std::string &address) {
        printers_.push_back(std::make_unique<ListeningSocket>(address, 0, port_));
    }

    ListeningSocket first_{"127.0.0.1"};
    const uint16_t port_ = first_.port();
    ScopedEnv dnssd_{"KDX_DNSSD", "off"};
    ScopedEnv portSetting_{"KDX_SEARCH_PORT", std::to_string(port_)};
    ScopedEnv timeout_{"KDX_SEARCH_TIMEOUT_MS", "500"};
    std::vector<std::unique_ptr<ListeningSocket>> printers_;
};

TEST_F(NetworkSearchTest, FindsAListeningHostOfAConfiguredNetwork) {
    ScopedEnv networks("KDX_SEARCH_NETWORKS", "127.0.0.1/32");
    Search found = search(2);
    EXPECT_EQ(found.count, 1);
    EXPECT_EQ(found.text, "127.0.0.1@");
}

TEST_F(NetworkSearchTest, ProbesEveryHostOfANetworkInOrder) {
    listenOn("127.0.0.5");
    listenOn("127.0.0.3");
    listenOn("127.0.0.7");  // the broadcast address of 127.0.0.0/29 is not probed
    ScopedEnv networks("KDX_SEARCH_NETWORKS", "127.0.0.0/29");
    Search found = search(2);
    EXPECT_EQ(found.count, 3);
    EXPECT_EQ(found.text, "127.0.0.1@127.0.0.3@127.0.0.5@");
}

TEST_F(NetworkSearchTest, Ipv6SearchProbesOnlyIpv6Networks) {
    listenOn("::1");
    ScopedEnv networks("KDX_SEARCH_NETWORKS", "127.0.0.1/32, ::1/128");
    EXPECT_EQ(search(3).text, "::1@");
    EXPECT_EQ(search(2).text, "127.0.0.1@");
}

TEST_F(NetworkSearchTest, NothingListeningGivesZero) {
    ScopedEnv networks("KDX_SEARCH_NETWORKS", "127.0.0.2/32");
    Search found = search(2);
    EXPECT_EQ(found.count, 0);
    EXPECT_EQ(found.text, "");
}

TEST_F(NetworkSearchTest, AddressesThatDoNotFitAreLeftOutWhole) {
    listenOn("127.0.0.2");
    ScopedEnv networks("KDX_SEARCH_NETWORKS", "127.0.0.1/32,127.0.0.2/32");
    Search found = search(2, 12);  // room for "127.0.0.1@" and the NUL only
    EXPECT_EQ(found.count, 1);
    EXPECT_EQ(found.text, "127.0.0.1@");
}

TEST_F(NetworkSearchTest, WithoutConfiguredNetworksNothingIsProbed) {
    ScopedEnv networks("KDX_SEARCH_NETWORKS", nullptr);
    ScopedEnv dnssd("KDX_DNSSD", nullptr);  // DNS-SD is asked; no daemon is no error
    Search found = search(2);
    EXPECT_EQ(found.text.find("127.0.0.1@"), std::string::npos);
    EXPECT_EQ(first_.accept(0ms), -1) << "a connection reached the listener";
}

TEST_F(NetworkSearchTest, MalformedSettingsAreReportedBeforeAnyProbe) {
    const char *malformed[] = {"127.0.0.1/33", "printer.local", "127.0.0.0/8", "::/64", "127.0.0.1/", "127.0.0.1/x"};
    for (const char *networks : malformed) {
        ScopedEnv setting("KDX_SEARCH_NETWORKS", networks);
        CCommunicationFactory factory;
        CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(7));
        char buffer[1024] = {};
        EXPECT_EQ(thrownCode([&] { protocol->GetPrinterIP(buffer, sizeof buffer, 2); }), CommunicationError::InvalidConfiguration)
            << networks;
    }
    ScopedEnv networks("KDX_SEARCH_NETWORKS", "127.0.0.1/32");
    for (const char *port : {"0", "65536", "ninety"}) {
        ScopedEnv setting("KDX_SEARCH_PORT", port);
        char buffer[1024] = {};
        CCommunicationFactory factory;
        EXPECT_EQ(thrownCode([&] { factory.CreateFacory(portOfKind(7))->GetPrinterIP(buffer, sizeof buffer, 2); }),
                  CommunicationError::InvalidConfiguration)
            << port;
    }
    EXPECT_EQ(first_.accept(0ms), -1);
}

TEST_F(NetworkSearchTest, OnlyVersionsTwoAndThreeAreSearched) {
    for (int version : {-1, 0, 1, 4}) {
        CCommunicationFactory factory;
        CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(7));
        char buffer[64] = {};
        EXPECT_EQ(thrownCode([&] { protocol->GetPrinterIP(buffer, sizeof buffer, version); }), CommunicationError::InvalidArgument);
    }
}

}  // namespace
