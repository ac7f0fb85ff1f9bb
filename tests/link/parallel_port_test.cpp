#include "support/communication_helpers.h"
#include "support/loopback_server.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using namespace test_support;

printer_link::tagPORTINFO parallelPort(const std::string &name) {
    printer_link::tagPORTINFO port = portOfKind(printer_link::kParallelPort);
    printer_link::setFieldText(port.LPTPortName, std::u16string(name.begin(), name.end()));
    return port;
}

// A named pipe stands in for the printer device: it takes bytes and is no terminal.
class ParallelPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::mkfifo((devices_ / "lp1").c_str(), 0600), 0);
        printer_ = ::open((devices_ / "lp1").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(printer_, 0);
    }
    void TearDown() override { ::close(printer_); }

    TempDir devices_;
    ScopedEnv root_{"KDX_DEV_ROOT", devices_.path().string()};
    int printer_ = -1;
};

TEST_F(ParallelPortTest, LptNamesMapToLpNodes) {
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(2));
    protocol->Open(parallelPort("LPT2"));
    EXPECT_EQ(writeText(*protocol, "^XA^XZ\r\n"), 8u);
    EXPECT_EQ(readAtLeast(printer_, 8, 1000ms), "^XA^XZ\r\n");
}

TEST_F(ParallelPortTest, DevicePathIsUsedAsIs) {
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(2));
    protocol->Open(parallelPort((devices_ / "lp1").string()));
    EXPECT_EQ(writeText(*protocol, "data"), 4u);
    EXPECT_EQ(readAtLeast(printer_, 4, 1000ms), "data");
}

TEST_F(ParallelPortTest, MissingOrMisnamedPortsFail) {
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(2));
    EXPECT_EQ(thrownCode([&] { protocol->Open(parallelPort("LPT1")); }), CommunicationError::DeviceNotFound);
    EXPECT_EQ(thrownCode([&] { protocol->Open(parallelPort("LPT0")); }), CommunicationError::InvalidPortName);
    EXPECT_EQ(thrownCode([&] { protocol->Open(parallelPort("COM1")); }), CommunicationError::InvalidPortName);
}

}  // namespace
