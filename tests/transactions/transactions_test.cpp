// The transactions against emulated printers of every language, through real sockets, a real
// pseudo-terminal and, for installed printers, a private print spooler.
#include <gtest/gtest.h>

#include <chrono>
#include <cctype>
#include <cstdlib>

#include "file_downloads.h"
#include "link/transactions/transactions.h"
#include "support/private_cupsd.h"
#include "transaction_fixtures.h"

using namespace transaction_tests;
using printer_link::DownloadJob;
using printer_link::LinkStatus;
using printer_link::MessageKind;

namespace {

const printer_link::TransferTiming kFast{std::chrono::milliseconds(1), std::chrono::milliseconds(0)};

class EveryLanguage : public ::testing::TestWithParam<std::string> {};

INSTANTIATE_TEST_SUITE_P(Languages, EveryLanguage, ::testing::Values("KDXZ", "KDXT", "KDXA", "KDXC", "KDXE"));

TEST_P(EveryLanguage, FreeMemoryOfFlashComesFromThePrinter) {
    const uint64_t flash = uint64_t(5) << 30;  // more than 32 bits can count
    auto printer = startPrinter(GetParam(), flash);
    auto module = loadModule(GetParam());
    const auto freeBytes = printer_link::QueryModuleMemory(netPort(printer->port()), module.get(), "FLASH");
    ASSERT_TRUE(freeBytes.has_value());
    EXPECT_EQ(uint64_t(*freeBytes), printer->freeBytes(emulator::Memory::Flash));
}

TEST_P(EveryLanguage, QueryOfAMemoryTypeOtherThanRamOrFlashFails) {
    auto printer = startPrinter(GetParam());
    auto module = loadModule(GetParam());
    EXPECT_FALSE(printer_link::QueryModuleMemory(netPort(printer->port()), module.get(), "flash"));
    EXPECT_FALSE(printer_link::QueryModuleMemory(netPort(printer->port()), nullptr, "FLASH"));
}

// A TrueType download of a small file, its stream built by the KDXZ module.
DownloadJob trueTypeJob(const kdx::LanguageModule &module, std::size_t fileSize) {
    DownloadJob job;
    job.WorkflowTag = "True Type Font";
    job.SourceBuffer.assign(fileSize, 0x5A);
    EXPECT_TRUE(glyphmill::BuildTtfCommand(&module, u"SAMPLE", "FLASH", job));
    return job;
}

TEST(DownloadStep, StreamExactlyAsLargeAsTheFreeMemoryIsSentAndOneByteMoreIsNot) {
    auto module = loadModule("KDXZ");
    const std::size_t streamLength = trueTypeJob(*module, 500).CommandBuffer.size();
    for (const uint64_t flash : {uint64_t(streamLength), uint64_t(streamLength - 1)}) {
        SCOPED_TRACE(flash);
        auto printer = startPrinter("KDXZ", flash);
        DownloadJob job = trueTypeJob(*module, 500);
        RecordingUi ui;
        LinkStatus status;
        const bool fits = flash == streamLength;
        EXPECT_EQ(printer_link::DownloadPendingJob(netPort(printer->port()), module.get(), "FLASH", job, status, ui, kFast),
                  fits);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].first, fits ? 801 : 504);
        EXPECT_TRUE(job.CommandBuffer.empty());
        printer->waitUntil([&] { return printer->finishedConnections() >= (fits ? 2u : 1u); }, std::chrono::seconds(5));
        // Without room only the memory query reached the printer.
        EXPECT_EQ(printer->receivedStreams().size(), fits ? 2u : 1u);
        EXPECT_EQ(printer->object(emulator::Memory::Flash, "SAMPLE.TTF").has_value(), fits);
    }
}

TEST(DownloadStep, DeclinedAgreementSendsNothingAndKeepsTheJob) {
    auto module = loadModule("KDXZ");
    auto printer = startPrinter("KDXZ");
    DownloadJob job = trueTypeJob(*module, 100);
    const auto stream = job.CommandBuffer;
    RecordingUi ui;
    ui.agree = false;
    LinkStatus status;
    EXPECT_TRUE(printer_link::DownloadPendingJob(netPort(printer->port()), module.get(), "FLASH", job, status, ui, kFast));
    EXPECT_EQ(ui.agreementsAsked, 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(job.CommandBuffer, stream);
    EXPECT_TRUE(printer->receivedStreams().empty());
}

TEST(DownloadStep, OnlyTrueTypeDownloadsAskForAgreement) {
    auto module = loadModule("KDXZ");
    auto printer = startPrinter("KDXZ");
    DownloadJob job;
    job.WorkflowTag = "Data File";
    job.SourceBuffer = {'4', '1', '4', '2', '\r', '\n'};
    ASSERT_TRUE(glyphmill::BuildDataCommand(u"CODES", "FLASH", job));
    RecordingUi ui;
    ui.agree = false;
    LinkStatus status;
    EXPECT_TRUE(printer_link::DownloadPendingJob(netPort(printer->port()), module.get(), "FLASH", job, status, ui, kFast));
    EXPECT_EQ(ui.agreementsAsked, 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], std::make_pair(803, MessageKind::Information));
    EXPECT_FALSE(ui.progress.empty());
    EXPECT_EQ(ui.progress.back(), 100);
}

TEST(DownloadStep, EmptyJobIsNotADownload) {
    auto module = loadModule("KDXZ");
    DownloadJob job;
    RecordingUi ui;
    LinkStatus status;
    EXPECT_FALSE(printer_link::DownloadPendingJob(netPort(1), module.get(), "FLASH", job, status, ui, kFast));
    EXPECT_TRUE(ui.messages.empty());
}

struct FailingPrinter {
    const char *fault;
    int message;
};

void PrintTo(const FailingPrinter &p, std::ostream *out) { *out << p.fault; }

class FailingDownload : public ::testing::TestWithParam<FailingPrinter> {};

INSTANTIATE_TEST_SUITE_P(Faults, FailingDownload,
                         ::testing::Values(FailingPrinter{"long-reply", 503}, FailingPrinter{"no-answer", 503},
                                           FailingPrinter{"drop-after=2000", 503}, FailingPrinter{"refuse", 503},
                                           FailingPrinter{"babble", 503}),
                         [](const auto &info) {
                             std::string name = info.param.fault;
                             for (char &c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

TEST_P(FailingDownload, EndsWithTheFailureMessage) {
    auto module = loadModule("KDXZ");
    auto printer = startPrinter("KDXZ", 64 << 20, emulator::Fault::parse(GetParam().fault));
    DownloadJob job = trueTypeJob(*module, 20000);
    RecordingUi ui;
    LinkStatus status;
    EXPECT_FALSE(printer_link::DownloadPendingJob(netPort(printer->port()), module.get(), "FLASH", job, status, ui, kFast));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], std::make_pair(GetParam().message, MessageKind::Error));
    EXPECT_FALSE(printer->object(emulator::Memory::Flash, "SAMPLE.TTF").has_value());
}

TEST(Query, ReplyOverTheCapacityFails) {
    auto module = loadModule("KDXZ");
    for (const uint64_t padded : {uint64_t(1024), uint64_t(1025)}) {
        auto printer = startPrinter("KDXZ", 64 << 20, emulator::Fault::parse("long-reply=" + std::to_string(padded)));
        const std::string command = "^XA\r\n^HWE:*.*\r\n^XZ";
        const auto reply = printer_link::QueryTransaction(netPort(printer->port()),
                                                          reinterpret_cast<const uint8_t *>(command.data()), command.size());
        EXPECT_EQ(reply.has_value(), padded <= 1024) << padded;
    }
}

TEST(Query, PrinterThatKeepsSendingEndsTheQuery) {
    auto printer = startPrinter("KDXZ", 64 << 20, emulator::Fault::parse("babble"));
    const std::string command = "^XA\r\n^HWE:*.*\r\n^XZ";
    EXPECT_FALSE(printer_link::QueryTransaction(netPort(printer->port()),
                                                reinterpret_cast<const uint8_t *>(command.data()), command.size()));
}

TEST(Query, SerialPrinterOnAPseudoTerminal) {
    emulator::Options options;
    options.language = "KDXT";
    options.transport = emulator::Options::Transport::Pty;
    emulator::Printer printer(options);
    auto module = loadModule("KDXT");
    const auto freeBytes = printer_link::QueryModuleMemory(serialPort(printer.ptyPath()), module.get(), "RAM");
    ASSERT_TRUE(freeBytes.has_value());
    EXPECT_EQ(uint64_t(*freeBytes), printer.freeBytes(emulator::Memory::Ram));
}

TEST(PortTest, OpensReachablePortsOnly) {
    auto printer = startPrinter("KDXZ");
    EXPECT_TRUE(printer_link::TestPort(netPort(printer->port())));
    auto refusing = startPrinter("KDXZ", 64 << 20, emulator::Fault::parse("refuse"));
    EXPECT_FALSE(printer_link::TestPort(netPort(refusing->port())));
    printer_link::tagPORTINFO unknown{};
    unknown.PortType = 9;
    EXPECT_FALSE(printer_link::TestPort(unknown));
}

TEST(InstalledPrinter, QueriesGoAsKind6AndSendsAsKind5) {
    if (!test_support::PrivateCupsd::installed()) GTEST_SKIP() << "cupsd is not installed";
    auto printer = startPrinter("KDXZ");
    test_support::PrivateCupsd cupsd;
    cupsd.addQueue("LabelQueue", "socket://127.0.0.1:" + std::to_string(printer->port()));
    printer_link::tagPORTINFO port{};
    port.PortType = printer_link::kSpoolerPrinter;
    printer_link::setFieldText(port.DriverPrinterName, u"LabelQueue");

    auto module = loadModule("KDXZ");
    DownloadJob job = trueTypeJob(*module, 300);
    RecordingUi ui;
    LinkStatus status;
    ASSERT_TRUE(printer_link::DownloadPendingJob(port, module.get(), "FLASH", job, status, ui, kFast));
    EXPECT_EQ(port.PortType, printer_link::kSpoolerPrinter);
    EXPECT_TRUE(printer->waitUntil([&] { return printer->object(emulator::Memory::Flash, "SAMPLE.TTF").has_value(); },
                                   std::chrono::seconds(20)));
}

TEST(NetworkSearch, AddressesEndAtTheirMarks) {
    struct Case {
        const char *reply;
        std::vector<std::string> addresses;
    };
    const Case cases[] = {
        {"10.0.0.1@10.0.0.2@10.0.0.3@", {"10.0.0.1", "10.0.0.2", "10.0.0.3"}},
        {"10.0.0.1@10.0.0.2@10.0.0.3", {"10.0.0.1", "10.0.0.2"}},
        {"10.0.0.1", {}},
        {"", {}},
    };
    for (const Case &c : cases) EXPECT_EQ(printer_link::SplitAddresses(c.reply, 1024), c.addresses) << c.reply;
}

TEST(NetworkSearch, FindsPrintersOnConfiguredLoopbackNetworksOnly) {
    auto printer = startPrinter("KDXZ");
    setenv("KDX_SEARCH_NETWORKS", "127.0.0.1/32", 1);
    setenv("KDX_SEARCH_PORT", std::to_string(printer->port()).c_str(), 1);
    LinkStatus status;
    const auto found = printer_link::SearchNetworkPrinters(netPort(0), 2, status);
    EXPECT_EQ(found, std::vector<std::string>{"127.0.0.1"});
    EXPECT_EQ(status.NetFound.load(), 1);
    EXPECT_EQ(status.Done.load(), 1);

    printer->stop();
    LinkStatus none;
    EXPECT_TRUE(printer_link::SearchNetworkPrinters(netPort(0), 2, none).empty());
    EXPECT_EQ(none.NetFound.load(), 0);
    unsetenv("KDX_SEARCH_NETWORKS");
    unsetenv("KDX_SEARCH_PORT");
}

}  // namespace
