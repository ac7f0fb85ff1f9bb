#include "support/communication_helpers.h"
#include "support/loopback_server.h"
#include "support/private_cupsd.h"
#include "support/pty_pair.h"
#include "support/scoped_env.h"
#include "support/usb_fixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <thread>

namespace {

using namespace test_support;

printer_link::tagPORTINFO installedPrinter(int32_t kind, const std::string &queue) {
    printer_link::tagPORTINFO port = portOfKind(kind);
    printer_link::setFieldText(port.DriverPrinterName, std::u16string(queue.begin(), queue.end()));
    return port;
}

// One private scheduler for the whole suite; each test adds the queues it needs.
class SpoolerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (PrivateCupsd::installed()) cupsd_ = std::make_unique<PrivateCupsd>();
    }
    static void TearDownTestSuite() { cupsd_.reset(); }

    void SetUp() override {
        if (!cupsd_) GTEST_SKIP() << "cupsd is not installed (packages cups, cups-daemon, cups-client)";
    }

    static std::unique_ptr<PrivateCupsd> cupsd_;
};

std::unique_ptr<PrivateCupsd> SpoolerTest::cupsd_;

// Collects what the spooler's socket backend delivers, one connection per job.
class ReceivingPrinter {
public:
    ReceivingPrinter()
        : server_("127.0.0.1", [this](int fd, const std::atomic<bool> &) {
              std::string job = readUntilClosed(fd, 10000ms);
              std::lock_guard<std::mutex> lock(mutex_);
              received_ += job;
          }) {}

    std::string uri() const { return "socket://127.0.0.1:" + std::to_string(server_.port()); }

    // What arrived once at least count bytes did, or all of it after the time limit.
    std::string waitFor(size_t count) {
        for (int i = 0; i < 1000; ++i) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (received_.size() >= count) return received_;
            }
            std::this_thread::sleep_for(10ms);
        }
        std::lock_guard<std::mutex> lock(mutex_);
        return received_;
    }

private:
    std::mutex mutex_;
    std::string received_;
    LoopbackServer server_;
};

TEST_F(SpoolerTest, SendOnlyKindDeliversARawJobByteForByte) {
    ReceivingPrinter printer;
    cupsd_->addQueue("raw_label", printer.uri());
    std::string stream;
    for (int i = 0; i < 256; ++i) stream += char(i);
    stream += "^XA^FO50,50^FDJob\r\n^FS^XZ\r\n";

    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(installedPrinter(5, "raw_label"));
    protocol->Open(installedPrinter(5, "raw_label"));
    protocol->SetTimeouts(100, 100);
    EXPECT_EQ(writeText(*protocol, stream), stream.size());
    protocol->SetTimeouts(1, 1);
    EXPECT_EQ(readOnce(*protocol), "") << "a job has no reply";
    protocol->Close();
    EXPECT_EQ(printer.waitFor(stream.size()) == stream, true);
}

TEST_F(SpoolerTest, QueryKindTalksToTheSocketBehindTheQueue) {
    LoopbackServer printer("127.0.0.1", [](int fd, const std::atomic<bool> &) {
        if (readAtLeast(fd, 6, 2000ms) == "~HQES\n") writeAll(fd, "PRINTER STATUS OK\r\n");
        readUntilClosed(fd, 2000ms);
    });
    cupsd_->addQueue("query_label", "socket://127.0.0.1:" + std::to_string(printer.port()));
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(installedPrinter(6, "query_label"));
    protocol->Open(installedPrinter(6, "query_label"));
    protocol->SetTimeouts(100, 100);
    EXPECT_EQ(writeText(*protocol, "~HQES\n"), 6u);
    EXPECT_EQ(readAtLeast(*protocol, 19), "PRINTER STATUS OK\r\n");
}

TEST_F(SpoolerTest, QueryKindOpensASerialDeviceBehindTheQueue) {
    PtyPair pty;
    cupsd_->addQueue("serial_label", "serial:" + pty.path() + "?baud=19200+bits=8+parity=none+flow=hard");
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(installedPrinter(6, "serial_label"));
    protocol->Open(installedPrinter(6, "serial_label"));
    termios tio = pty.settings();
    EXPECT_EQ(cfgetospeed(&tio), B19200);
    EXPECT_NE(tio.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(writeText(*protocol, "~HS"), 3u);
    EXPECT_EQ(readAtLeast(pty.controller(), 3, 1000ms), "~HS");
}

TEST_F(SpoolerTest, QueryKindFindsTheUsbPrinterTheQueueNames) {
    UsbFixture usb({{"lp0", "Acme", "Label 200", "X1", ""}, {"lp1", "Acme", "Label 300", "SN123", ""}});
    ScopedEnv sys("KDX_SYS_ROOT", usb.sys().string());
    ScopedEnv dev("KDX_DEV_ROOT", usb.dev().string());
    PtyPair pty;  // the device node of lp1
    std::filesystem::create_symlink(pty.path(), usb.dev() / "usb/lp1");
    cupsd_->addQueue("usb_label", "usb://Acme/Label%20300?serial=SN123");
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(installedPrinter(6, "usb_label"));
    protocol->Open(installedPrinter(6, "usb_label"));
    EXPECT_EQ(writeText(*protocol, "~HS"), 3u);
    EXPECT_EQ(readAtLeast(pty.controller(), 3, 1000ms), "~HS");

    cupsd_->addQueue("usb_absent", "usb://Acme/Label%20300?serial=OTHER");
    EXPECT_EQ(thrownCode([&] { protocol->Open(installedPrinter(6, "usb_absent")); }), CommunicationError::UnsupportedDevice);
}

TEST_F(SpoolerTest, QueryKindRefusesDevicesItCannotReachItself) {
    cupsd_->addQueue("ipp_label", "ipp://127.0.0.1:1/printers/elsewhere");
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(installedPrinter(6, "ipp_label"));
    try {
        protocol->Open(installedPrinter(6, "ipp_label"));
        FAIL() << "opened an IPP device";
    } catch (const CommunicationException &failure) {
        EXPECT_EQ(failure.code(), CommunicationError::UnsupportedDevice);
        EXPECT_NE(std::string(failure.what()).find("ipp://127.0.0.1:1"), std::string::npos) << failure.what();
    }
}

TEST_F(SpoolerTest, UnknownQueueFailsForBothKinds) {
    for (int32_t kind : {5, 6}) {
        CCommunicationFactory factory;
        CCommunicationProtocol *protocol = factory.CreateFacory(installedPrinter(kind, "no_such_queue"));
        EXPECT_EQ(thrownCode([&] { protocol->Open(installedPrinter(kind, "no_such_queue")); }), CommunicationError::DeviceNotFound)
            << kind;
        EXPECT_EQ(thrownCode([&] { protocol->Open(installedPrinter(kind, "")); }), CommunicationError::InvalidPortName) << kind;
    }
}

}  // namespace
