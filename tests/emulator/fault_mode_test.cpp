// Each fault mode seen from a client on a real socket (or the pseudo-terminal).
#include <gtest/gtest.h>

#include <cerrno>

#include "emulator_client.h"

namespace emulator_test {
namespace {

using emulator::Fault;

// A KDXZ directory query and a graphic download.
const std::string kQuery = "^XA\r\n^HWR:*.*\r\n^XZ";
const std::string kDownload = "~DYR:LOGO,B,B,10,,0123456789";

std::unique_ptr<emulator::Printer> start(const std::string &fault) {
    emulator::Options options;
    options.fault = Fault::parse(fault);
    return std::make_unique<emulator::Printer>(options);
}

bool isDirectoryReply(const std::string &reply) {
    return reply.find("DIR R:*.*") != std::string::npos && reply.find("bytes free\r\n") != std::string::npos;
}

TEST(FaultMode, NoAnswerAppliesEverythingButNeverReplies) {
    auto printer = start("no-answer");
    TcpClient client(printer->port());
    client.send(kDownload + kQuery);
    ASSERT_TRUE(printer->waitUntil([&] { return receivedBytes(*printer) == kDownload.size() + kQuery.size(); }, 5s));
    ASSERT_TRUE(printer->waitUntil([&] { return printer->object(emulator::Memory::Ram, "LOGO.BMP").has_value(); }, 5s));
    EXPECT_TRUE(staysQuiet(client.fd(), 150ms));
    EXPECT_EQ(printer->repliesSent(), 0u);

    printer->setFault(Fault{});
    EXPECT_TRUE(isDirectoryReply(exchange(*printer, client, kQuery)));
}

TEST(FaultMode, SlowWaitsBeforeEachReply) {
    auto printer = start("slow=150ms");
    EXPECT_EQ(printer->fault().delay, 150ms);
    TcpClient client(printer->port());
    const auto start = std::chrono::steady_clock::now();
    client.send(kQuery);
    EXPECT_TRUE(staysQuiet(client.fd(), 60ms)) << "no reply before the delay";
    const std::string reply = readReply(client.fd(), 3s);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 150ms);
    EXPECT_TRUE(isDirectoryReply(reply));
}

TEST(FaultMode, DropAfterResetsTheConnectionAfterThatManyBytes) {
    auto printer = start("drop-after=20");
    for (int connection = 0; connection < 2; ++connection) {
        TcpClient client(printer->port());
        client.send(kDownload + kQuery);
        const Closing end = readUntilClosed(client.fd(), 3s);
        EXPECT_TRUE(end.closed);
        EXPECT_EQ(end.bytes, "") << "no reply";
        EXPECT_EQ(printer->receivedStreams().back(), (kDownload + kQuery).substr(0, 20));
    }
    EXPECT_FALSE(printer->object(emulator::Memory::Ram, "LOGO.BMP")) << "the download was cut";

    printer->setFault(Fault{});
    EXPECT_TRUE(isDirectoryReply(query(*printer, kQuery)));
}

TEST(FaultMode, DropAfterZeroDropsAtConnect) {
    auto printer = start("drop-after=0");
    TcpClient client(printer->port());
    EXPECT_TRUE(readUntilClosed(client.fd(), 3s).closed);
    EXPECT_EQ(printer->receivedStreams().back(), "");
}

TEST(FaultMode, BabbleSendsWithoutEndFromTheConnect) {
    auto printer = start("babble");
    TcpClient client(printer->port());
    const std::string bytes = readReply(client.fd(), 3s, 200ms, 16384);
    EXPECT_EQ(bytes.size(), 16384u) << "nothing was asked";
}

TEST(FaultMode, BabbleAfterQueryAnswersThenKeepsSending) {
    auto printer = start("babble=after-query");
    TcpClient client(printer->port());
    EXPECT_TRUE(staysQuiet(client.fd(), 100ms)) << "quiet until asked";
    client.send(kQuery);
    const std::string bytes = readReply(client.fd(), 3s, 200ms, 16384);
    ASSERT_EQ(bytes.size(), 16384u);
    EXPECT_TRUE(isDirectoryReply(bytes.substr(0, 200))) << "the reply comes first";
}

TEST(FaultMode, LongReplyPadsEveryReplyPastTheHostsBuffer) {
    for (const auto &[fault, length] : {std::pair<std::string, size_t>{"long-reply", 2048}, {"long-reply=5000", 5000}}) {
        auto printer = start(fault);
        const std::string reply = query(*printer, kQuery);
        EXPECT_EQ(reply.size(), length) << fault;
        EXPECT_TRUE(isDirectoryReply(reply.substr(0, 1024))) << "the real reply is within the first 1,024 bytes";
    }
}

TEST(FaultMode, RefuseMakesConnectionsFailAndCanBeLifted) {
    auto printer = start("refuse");
    const uint16_t port = printer->port();
    ASSERT_NE(port, 0);
    EXPECT_EQ(connectError(port), ECONNREFUSED);

    printer->setFault(Fault{});
    EXPECT_EQ(printer->port(), port) << "the port is kept";
    EXPECT_TRUE(isDirectoryReply(query(*printer, kQuery)));

    printer->setFault(Fault::parse("refuse"));
    EXPECT_EQ(connectError(port), ECONNREFUSED);
}

TEST(FaultMode, PseudoTerminalTakesTheFaultsThatNeedNoConnection) {
    emulator::Options options;
    options.transport = emulator::Options::Transport::Pty;
    for (const char *tcpOnly : {"refuse", "drop-after=5"}) {
        options.fault = Fault::parse(tcpOnly);
        EXPECT_THROW(emulator::Printer{options}, emulator::EmulatorError) << tcpOnly;
    }
    options.fault = Fault::parse("no-answer");
    emulator::Printer printer(options);
    EXPECT_THROW(printer.setFault(Fault::parse("refuse")), emulator::EmulatorError);
    TerminalClient terminal(printer.ptyPath());
    terminal.send(kQuery);
    ASSERT_TRUE(printer.waitUntil([&] { return receivedBytes(printer) == kQuery.size(); }, 5s));
    EXPECT_TRUE(staysQuiet(terminal.fd(), 100ms));

    printer.setFault(Fault::parse("long-reply=3000"));
    EXPECT_EQ(exchange(printer, terminal.fd(), kQuery).size(), 3000u);
}

struct FaultText {
    std::string text;
    std::string name;  // as the fault names itself; empty: refused
};

void PrintTo(const FaultText &fault, std::ostream *out) { *out << '"' << fault.text << '"'; }

class FaultParsing : public ::testing::TestWithParam<FaultText> {};

TEST_P(FaultParsing, ReadsTheCommandLineForm) {
    const FaultText &c = GetParam();
    if (c.name.empty()) {
        EXPECT_THROW(Fault::parse(c.text), emulator::EmulatorError);
    } else {
        EXPECT_EQ(Fault::parse(c.text).name(), c.name);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, FaultParsing,
                         ::testing::Values(FaultText{"none", "none"}, FaultText{"no-answer", "no-answer"},
                                           FaultText{"slow=300ms", "slow=300ms"}, FaultText{"slow=2s", "slow=2000ms"},
                                           FaultText{"slow=40", "slow=40ms"}, FaultText{"drop-after=100", "drop-after=100"},
                                           FaultText{"babble", "babble"}, FaultText{"babble=after-query", "babble=after-query"},
                                           FaultText{"long-reply", "long-reply=2048"},
                                           FaultText{"long-reply=1500", "long-reply=1500"}, FaultText{"refuse", "refuse"},
                                           FaultText{"slow", ""}, FaultText{"slow=fast", ""}, FaultText{"slow=-5ms", ""},
                                           FaultText{"drop-after", ""}, FaultText{"drop-after=1e3", ""},
                                           FaultText{"babble=now", ""}, FaultText{"refuse=1", ""}, FaultText{"", ""},
                                           FaultText{"explode", ""}));

}  // namespace
}  // namespace emulator_test
