#include "support/communication_helpers.h"
#include "support/loopback_server.h"
#include "support/pty_pair.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using namespace test_support;

class SerialPortTest : public ::testing::Test {
protected:
    CCommunicationProtocol &open(const printer_link::tagPORTINFO &port) {
        CCommunicationProtocol *protocol = factory_.CreateFacory(port);
        protocol->Open(port);
        protocol->SetTimeouts(5, 5);
        return *protocol;
    }

    PtyPair pty_;
    CCommunicationFactory factory_;
};

TEST_F(SerialPortTest, BytesPassBothWays) {
    CCommunicationProtocol &port = open(serialPort(pty_.path(), 115200));
    EXPECT_EQ(writeText(port, std::string("~HS\r\n\x00\xff", 7)), 7u);
    EXPECT_EQ(readAtLeast(pty_.controller(), 7, 1000ms), std::string("~HS\r\n\x00\xff", 7));
    writeAll(pty_.controller(), std::string("\x02reply\x03\n\r", 10));
    EXPECT_EQ(readAtLeast(port, 10), std::string("\x02reply\x03\n\r", 10)) << "raw mode: no line processing";
}

TEST_F(SerialPortTest, ReadReturnsNothingWhenNothingArrives) {
    CCommunicationProtocol &port = open(serialPort(pty_.path()));
    port.SetTimeouts(3, 3);
    EXPECT_EQ(readOnce(port), "");
}

TEST_F(SerialPortTest, LineSettingsReachTheTerminal) {
    // Pseudo-terminals keep speed, stop bits, the odd and stick parity flags and flow control,
    // but always report 8 data bits without the parity switch, so those two are not observable.
    struct Case {
        int baud, stopBits, parity, flow;
        speed_t speed;
        tcflag_t cflagSet, cflagClear, iflagSet;
    } cases[] = {
        {9600, 0, 0, 3, B9600, 0, CSTOPB | PARODD | CMSPAR | CRTSCTS, 0},
        {115200, 2, 1, 1, B115200, CSTOPB | PARODD | CRTSCTS, CMSPAR, 0},
        {19200, 1, 3, 2, B19200, CSTOPB | PARODD | CMSPAR, CRTSCTS, IXON | IXOFF},
        {38400, 0, 4, 0, B38400, CMSPAR, PARODD | CRTSCTS | CSTOPB, 0},
        {4800, 0, 2, 3, B4800, 0, PARODD | CMSPAR, 0},
    };
    for (const Case &c : cases) {
        CCommunicationFactory factory;
        CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(1));
        protocol->Open(serialPort(pty_.path(), c.baud, 7, c.stopBits, c.parity, c.flow));
        termios tio = pty_.settings();
        EXPECT_EQ(cfgetospeed(&tio), c.speed) << c.baud;
        EXPECT_EQ(cfgetispeed(&tio), c.speed) << c.baud;
        EXPECT_EQ(tio.c_cflag & c.cflagSet, c.cflagSet) << c.baud;
        EXPECT_EQ(tio.c_cflag & c.cflagClear, 0u) << c.baud;
        EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), c.iflagSet) << c.baud;
        EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u) << "raw mode";
        protocol->Close();
    }
}

TEST_F(SerialPortTest, RefusesSettingsTheLineCannotTake) {
    struct Case {
        int baud, dataBits, stopBits, parity, flow;
    } cases[] = {
        {12345, 8, 0, 0, 3}, {0, 8, 0, 0, 3}, {9600, 9, 0, 0, 3}, {9600, 4, 0, 0, 3},
        {9600, 8, 3, 0, 3},  {9600, 8, 0, 5, 3}, {9600, 8, 0, 0, 4}, {9600, 8, -1, 0, 3},
    };
    for (const Case &c : cases) {
        CCommunicationFactory factory;
        CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(1));
        EXPECT_EQ(thrownCode([&] { protocol->Open(serialPort(pty_.path(), c.baud, c.dataBits, c.stopBits, c.parity, c.flow)); }),
                  CommunicationError::ConfigureFailed)
            << c.baud << " " << c.dataBits << " " << c.stopBits << " " << c.parity << " " << c.flow;
    }
}

TEST_F(SerialPortTest, ComNamesMapToTtySNodesBelowTheDeviceRoot) {
    TempDir devices;
    std::filesystem::create_symlink(pty_.path(), devices / "ttyS2");
    ScopedEnv root("KDX_DEV_ROOT", devices.path().string());
    for (const char *name : {"COM3", "com3"}) {
        CCommunicationFactory factory;
        CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(1));
        protocol->Open(serialPort(name));
        EXPECT_EQ(writeText(*protocol, name), 4u);
        EXPECT_EQ(readAtLeast(pty_.controller(), 4, 1000ms), name);
    }
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(1));
    EXPECT_EQ(thrownCode([&] { protocol->Open(serialPort("COM9")); }), CommunicationError::DeviceNotFound);
}

TEST_F(SerialPortTest, RefusesNamesThatAreNotPorts) {
    for (const char *name : {"", "COM", "COM0", "COMx", "COM-1", "COM1x", "PRN", "ttyS0", "LPT1"}) {
        CCommunicationFactory factory;
        CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(1));
        EXPECT_EQ(thrownCode([&] { protocol->Open(serialPort(name)); }), CommunicationError::InvalidPortName) << name;
    }
}

TEST_F(SerialPortTest, AFileIsNotASerialPort) {
    TempDir folder;
    std::filesystem::path file = folder / "f";  // short enough for the name field
    { std::ofstream(file) << "x"; }
    CCommunicationProtocol *protocol = factory_.CreateFacory(portOfKind(1));
    EXPECT_EQ(thrownCode([&] { protocol->Open(serialPort(file.string())); }), CommunicationError::ConfigureFailed);
}

TEST_F(SerialPortTest, WriteFailsWhenThePrinterStopsTakingData) {
    // Nobody reads the controlling side: the terminal's buffers fill and the write stalls.
    CCommunicationProtocol &port = open(serialPort(pty_.path()));
    port.SetTimeouts(5, 5);
    const std::string block(1 << 20, 'x');
    EXPECT_EQ(thrownCode([&] { writeText(port, block); }), CommunicationError::WriteTimedOut);
    EXPECT_EQ(port.GetErrorCode(), int(CommunicationError::WriteTimedOut));
}

}  // namespace
