#include "link/port_part_parser.h"

#include <gtest/gtest.h>

namespace {

using namespace printer_link;

std::string shown(const char16_t *text) {
    return std::string(text, text + std::char_traits<char16_t>::length(text));  // ASCII cases only
}

tagPORTINFO currentPort() {
    tagPORTINFO port{};
    port.PortType = kParallelPort;
    setFieldText(port.COMPortName, u"COM1");
    port.BaudRate = 9600;
    port.DataSize = 8;
    port.FlowControl = 1;
    setFieldText(port.LPTPortName, u"LPT1");
    setFieldText(port.NetAddress, u"10.0.0.9");
    port.NetPort = 6101;
    port.USBAPIIndex = 5;
    return port;
}

TEST(PortPartParser, SerialTakesSixFields) {
    auto parsed = parsePortPart(u"COM,3,115200,8,0,0,1", currentPort());
    ASSERT_TRUE(parsed);
    const tagPORTINFO &port = parsed->port;
    EXPECT_EQ(port.PortType, kSerialPort);
    EXPECT_EQ(fieldText(port.COMPortName), u"COM3");
    EXPECT_EQ(port.BaudRate, 115200);
    EXPECT_EQ(port.DataSize, 8);
    EXPECT_EQ(port.StopBits, 0);
    EXPECT_EQ(port.ParityBits, 0);
    EXPECT_EQ(port.FlowControl, 1);
    EXPECT_FALSE(parsed->netIPVersion);
    EXPECT_EQ(fieldText(port.NetAddress), u"10.0.0.9") << "other kinds keep their fields";
}

TEST(PortPartParser, SerialDevicePathIsTakenAsIs) {
    auto parsed = parsePortPart(u"COM,/dev/pts/3,9600,8,0,0,3", currentPort());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(fieldText(parsed->port.COMPortName), u"/dev/pts/3");
    EXPECT_EQ(parsed->port.FlowControl, 3);
}

TEST(PortPartParser, ParsesEveryKeyword) {
    struct Case {
        const char16_t *text;
        int32_t kind;
    } cases[] = {
        {u"LPT,2", kParallelPort},          {u"USBClass,Acme Label 300 SN1", kUsbClassPrinter},
        {u"USBAPI,2", kVendorUsbDevice},    {u"NET,192.168.1.20,9100", kNetworkPrinter},
        {u"DRIVER,Front desk", kSpoolerPrinter}, {u"COM,1,9600,8,0,0,3", kSerialPort},
        {u"LPT,", kParallelPort},           {u"DRIVER,", kSpoolerPrinter},
    };
    for (const Case &c : cases) {
        auto parsed = parsePortPart(c.text, currentPort());
        ASSERT_TRUE(parsed) << shown(c.text);
        EXPECT_EQ(parsed->port.PortType, c.kind);
    }
}

TEST(PortPartParser, RestOfTheLineIsTakenWhole) {
    auto parallel = parsePortPart(u"LPT,2,x", currentPort());
    ASSERT_TRUE(parallel);
    EXPECT_EQ(fieldText(parallel->port.LPTPortName), u"LPT2,x");
    auto parallelPath = parsePortPart(u"LPT,/dev/usb/lp0", currentPort());
    ASSERT_TRUE(parallelPath);
    EXPECT_EQ(fieldText(parallelPath->port.LPTPortName), u"/dev/usb/lp0");
    auto printer = parsePortPart(u"DRIVER,Office, 2nd floor", currentPort());
    ASSERT_TRUE(printer);
    EXPECT_EQ(fieldText(printer->port.DriverPrinterName), u"Office, 2nd floor");
    auto usb = parsePortPart(u"USBClass,Acme,Label@1", currentPort());
    ASSERT_TRUE(usb);
    EXPECT_EQ(fieldText(usb->port.USBClassName), u"Acme,Label@1");
}

TEST(PortPartParser, NetworkAddressLengthDecidesTheIpVersion) {
    struct Case {
        const char16_t *text;
        int version;
        int32_t port;
    } cases[] = {
        {u"NET,192.168.1.20,9100", 2, 9100},
        {u"NET,255.255.255.255,6101", 2, 6101},   // 15 characters
        {u"NET,1234567890123456,9100", 3, 9100},  // 16 characters, whatever they are
        {u"NET,fe80::1,9100", 2, 9100},           // short IPv6 text still counts as version 2
        {u"NET,2001:db8:0:0:1:2:3:4,9100", 3, 9100},
        {u"NET,192.168.1.20,", 2, 0},
        {u"NET,192.168.1.20,abc", 2, 0},
    };
    for (const Case &c : cases) {
        auto parsed = parsePortPart(c.text, currentPort());
        ASSERT_TRUE(parsed) << shown(c.text);
        EXPECT_EQ(parsed->netIPVersion, c.version) << shown(c.text);
        EXPECT_EQ(parsed->port.NetPort, c.port);
    }
    EXPECT_EQ(fieldText(parsePortPart(u"NET,2001:db8:0:0:1:2:3:4,9100", currentPort())->port.NetAddress), u"2001:db8:0:0:1:2:3:4");
}

TEST(PortPartParser, UsbDeviceNumberIsStoredUnchanged) {
    for (int number : {0, 2, 17}) {
        std::string text = "USBAPI," + std::to_string(number);
        auto parsed = parsePortPart(std::u16string(text.begin(), text.end()), currentPort());
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->port.USBAPIIndex, number);
    }
}

TEST(PortPartParser, RefusesMalformedPortParts) {
    const char16_t *refused[] = {
        u"",
        u"COM",                       // no "," after the keyword
        u"COM,3,9600",                // too few fields
        u"COM,3,9600,8,0,0",          // five fields only
        u"NET,192.168.1.20",          // no port field
        u"USBAPI",
        u"com,3,115200,8,0,0,1",      // keywords are case-sensitive
        u"Net,192.168.1.20,9100",
        u"USBCLASS,x",
        u"PRN,1",                     // unknown keyword
        u" COM,3,115200,8,0,0,1",
    };
    for (const char16_t *text : refused) EXPECT_FALSE(parsePortPart(text, currentPort())) << shown(text);
}

TEST(PortPartParser, RefusesValuesLongerThanTheirField) {
    // "COM" + 16 characters = 19 fits; one more does not.
    EXPECT_TRUE(parsePortPart(u"COM,1234567890123456,9600,8,0,0,3", currentPort()));
    EXPECT_FALSE(parsePortPart(u"COM,12345678901234567,9600,8,0,0,3", currentPort()));
    EXPECT_TRUE(parsePortPart(u"COM,/dev/serial/by-id,9600,8,0,0,3", currentPort()));  // 19 characters
    EXPECT_FALSE(parsePortPart(u"COM,/dev/serial/by-id/usb-adapter,9600,8,0,0,3", currentPort()));
    EXPECT_FALSE(parsePortPart(u"LPT,/dev/bus/usb/001/002/x", currentPort()));
    const std::u16string longName(260, u'n');
    EXPECT_FALSE(parsePortPart(u"DRIVER," + longName, currentPort()));
    EXPECT_TRUE(parsePortPart(u"DRIVER," + longName.substr(1), currentPort()));
    EXPECT_FALSE(parsePortPart(u"USBClass," + longName, currentPort()));
    EXPECT_FALSE(parsePortPart(u"NET," + longName + u",9100", currentPort()));
}

}  // namespace
