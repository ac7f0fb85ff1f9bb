#include "support/communication_helpers.h"
#include "support/loopback_server.h"
#include "support/pty_pair.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "support/usb_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using namespace test_support;
namespace fs = std::filesystem;

std::string enumerate(size_t capacity = 1024) {
    std::vector<char> buffer(capacity + 1, '#');
    CCommunicationFactory factory;
    factory.CreateFacory(portOfKind(3))->EnumUSBClassPrinters(buffer.data(), capacity);
    EXPECT_EQ(buffer[capacity], '#') << "wrote past the buffer";
    return std::string(buffer.data());
}

printer_link::tagPORTINFO usbPort(const std::string &name) {
    printer_link::tagPORTINFO port = portOfKind(printer_link::kUsbClassPrinter);
    printer_link::setFieldTextCut(port.USBClassName, *printer_link::utf16FromUtf8(name));
    return port;
}

class UsbClassTest : public ::testing::Test {
protected:
    UsbFixture fixture_{{
        {"lp0", "Acme", "Label 300", "SN123", ""},
        {"lp1", "", "", "", "MFG:Acme;MDL:Label 200;SN:77;"},
        {"lp10", "Acme", "Mini", "", ""},
        {"lp2", "Acme", "Mini", "", ""},
        {"lp3", "Odd@Maker", "", "", ""},
        {"lp4", "", "", "", ""},
    }};
    ScopedEnv sys_{"KDX_SYS_ROOT", fixture_.sys().string()};
    ScopedEnv dev_{"KDX_DEV_ROOT", fixture_.dev().string()};
};

TEST_F(UsbClassTest, NamesComeFromTheDeviceTreeInNodeOrder) {
    EXPECT_EQ(enumerate(), "Acme Label 300 SN123@Acme Label 200 77@Acme Mini (lp2)@Odd_Maker@lp4@Acme Mini (lp10)@");
}

TEST_F(UsbClassTest, NamesThatDoNotFitAreLeftOutWhole) {
    const std::string first = "Acme Label 300 SN123@";
    EXPECT_EQ(enumerate(first.size() + 1), first);
    EXPECT_EQ(enumerate(first.size()), "");
    EXPECT_EQ(enumerate(1), "");
}

TEST_F(UsbClassTest, NoDevicesGiveAnEmptyList) {
    TempDir empty;
    ScopedEnv sys("KDX_SYS_ROOT", empty.path().string());
    EXPECT_EQ(enumerate(), "");
}

TEST_F(UsbClassTest, EnumeratedNameOpensItsDeviceNode) {
    PtyPair printer;  // stands in for the device node /dev/usb/lp1
    fs::create_symlink(printer.path(), fixture_.dev() / "usb/lp1");
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(3));
    protocol->Open(usbPort("Acme Label 200 77"));
    protocol->SetTimeouts(100, 100);
    EXPECT_EQ(writeText(*protocol, "~HQES\r\n"), 7u);
    EXPECT_EQ(readAtLeast(printer.controller(), 7, 1000ms).substr(0, 5), "~HQES");
}

TEST_F(UsbClassTest, UnknownNameOrMissingNodeFails) {
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(3));
    EXPECT_EQ(thrownCode([&] { protocol->Open(usbPort("Acme Label 999")); }), CommunicationError::DeviceNotFound);
    EXPECT_EQ(thrownCode([&] { protocol->Open(usbPort("Acme Label 300 SN123")); }), CommunicationError::DeviceNotFound)
        << "listed, but its node is missing";
}

}  // namespace
