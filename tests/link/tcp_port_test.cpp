#include "support/communication_helpers.h"
#include "support/loopback_server.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace test_support;

// Both loopback families; each test runs once for IPv4 and once for IPv6.
class TcpPortTest : public ::testing::TestWithParam<const char *> {
protected:
    std::string address() const { return GetParam(); }
};

TEST_P(TcpPortTest, QueryAndReply) {
    LoopbackServer printer(address(), [](int fd, const std::atomic<bool> &) {
        if (readAtLeast(fd, 5, 2000ms) == "~HS\r\n") writeAll(fd, "OK 123\r\n");
        readUntilClosed(fd, 2000ms);
    });
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(7));
    protocol->Open(networkPort(address(), printer.port()));
    protocol->SetTimeouts(100, 100);
    EXPECT_EQ(writeText(*protocol, "~HS\r\n"), 5u);
    EXPECT_EQ(readAtLeast(*protocol, 8), "OK 123\r\n");
    protocol->SetTimeouts(3, 3);
    EXPECT_EQ(readOnce(*protocol), "") << "nothing more arrives";
    protocol->Close();
}

TEST_P(TcpPortTest, LongStreamArrivesWhole) {
    std::string received;
    std::atomic<bool> done{false};
    {
        LoopbackServer printer(address(), [&](int fd, const std::atomic<bool> &) {
            received = readUntilClosed(fd, 5000ms);
            done = true;
        });
        std::string stream(3 << 20, '\0');
        for (size_t i = 0; i < stream.size(); ++i) stream[i] = char(i * 7 % 251);
        CCommunicationFactory factory;
        CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(7));
        protocol->Open(networkPort(address(), printer.port()));
        protocol->SetTimeouts(100, 100);
        EXPECT_EQ(writeText(*protocol, stream), stream.size());
        protocol->Close();
        while (!done) std::this_thread::sleep_for(5ms);
        EXPECT_EQ(received == stream, true) << received.size() << " of " << stream.size() << " bytes";
    }
}

TEST_P(TcpPortTest, RefusedConnectionThrows) {
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(7));
    EXPECT_EQ(thrownCode([&] { protocol->Open(networkPort(address(), unusedPort(address()))); }),
              CommunicationError::ConnectFailed);
    EXPECT_EQ(protocol->GetErrorCode(), int(CommunicationError::ConnectFailed));
}

TEST_P(TcpPortTest, ReadAfterThePeerClosedReturnsNothing) {
    LoopbackServer printer(address(), [](int fd, const std::atomic<bool> &) { writeAll(fd, "bye"); });
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(7));
    protocol->Open(networkPort(address(), printer.port()));
    protocol->SetTimeouts(100, 100);
    EXPECT_EQ(readAtLeast(*protocol, 3), "bye");
    EXPECT_EQ(readOnce(*protocol), "");
    EXPECT_EQ(readOnce(*protocol), "");
}

TEST_P(TcpPortTest, WriteToAPeerThatStopsReadingFailsInsteadOfHanging) {
    LoopbackServer printer(
        address(),
        [](int, const std::atomic<bool> &stopping) {
            while (!stopping) std::this_thread::sleep_for(5ms);  // accepts, never reads
        },
        4096);
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(7));
    protocol->Open(networkPort(address(), printer.port()));
    protocol->SetTimeouts(20, 20);
    const std::string stream(64 << 20, 'x');
    size_t count = 1;
    EXPECT_EQ(thrownCode([&] { protocol->Write(reinterpret_cast<const unsigned char *>(stream.data()), stream.size(), count); }),
              CommunicationError::WriteTimedOut);
    EXPECT_EQ(count, 0u);
}

INSTANTIATE_TEST_SUITE_P(Loopback, TcpPortTest, ::testing::Values("127.0.0.1", "::1"),
                         [](const auto &info) { return std::string(info.param[0] == ':' ? "IPv6" : "IPv4"); });

TEST(TcpPort, BracketedIpv6AddressIsAccepted) {
    LoopbackServer printer("::1", [](int fd, const std::atomic<bool> &) { writeAll(fd, "v6"); });
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(7));
    protocol->Open(networkPort("[::1]", printer.port()));
    EXPECT_EQ(readAtLeast(*protocol, 2), "v6");
}

TEST(TcpPort, RefusesAddressesAndPortsThatCannotBeReached) {
    struct Case {
        const char *address;
        int port;
    } cases[] = {{"", 9100}, {"127.0.0.1", 0}, {"127.0.0.1", 65536}, {"127.0.0.1", -5}};
    for (const Case &c : cases) {
        CCommunicationFactory factory;
        CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(7));
        EXPECT_EQ(thrownCode([&] { protocol->Open(networkPort(c.address, c.port)); }), CommunicationError::InvalidPortName)
            << c.address << ":" << c.port;
    }
}

}  // namespace
