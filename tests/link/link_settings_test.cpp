#include "link/link_settings.h"

#include "platform/profile_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

namespace {

using namespace printer_link;

class LinkSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { LinkSettings::current().reset(); }
    void TearDown() override { LinkSettings::current().reset(); }

    test_support::TempDir folder_;
};

TEST_F(LinkSettingsTest, StartsEmptyWithFamilyOneAndNoIpVersion) {
    LinkSettings &settings = LinkSettings::current();
    EXPECT_EQ(settings.port().PortType, 0);
    EXPECT_EQ(settings.comType(), 1);
    EXPECT_EQ(settings.netIPVersion(), -1);
    EXPECT_FALSE(settings.startedWithParameters());
}

TEST_F(LinkSettingsTest, FamilyOutsideOneAndTwoCountsAsOne) {
    LinkSettings &settings = LinkSettings::current();
    settings.setComType(2);
    EXPECT_EQ(settings.comType(), 2);
    settings.setComType(3);
    EXPECT_EQ(settings.comType(), 1);
}

TEST_F(LinkSettingsTest, CommandLineReplacesThePortAndSetsTheFlag) {
    LinkSettings &settings = LinkSettings::current();
    ASSERT_TRUE(settings.takeCommandLine(u"NET,192.168.1.20,9100"));
    EXPECT_EQ(settings.port().PortType, kNetworkPrinter);
    EXPECT_EQ(settings.netIPVersion(), 2);
    EXPECT_TRUE(settings.startedWithParameters());
    ASSERT_TRUE(settings.takeCommandLine(u"USBAPI,2"));
    EXPECT_EQ(settings.port().USBAPIIndex, 2);
    EXPECT_EQ(fieldText(settings.port().NetAddress), u"192.168.1.20") << "the working copy started from the current port";
    EXPECT_EQ(settings.netIPVersion(), 2) << "only NET sets the IP version";
}

TEST_F(LinkSettingsTest, FailedCommandLineChangesNothing) {
    LinkSettings &settings = LinkSettings::current();
    tagPORTINFO port{};
    port.PortType = kSerialPort;
    setFieldText(port.COMPortName, u"COM2");
    settings.setPort(port);
    EXPECT_FALSE(settings.takeCommandLine(u"COM,3,9600"));
    EXPECT_EQ(fieldText(settings.port().COMPortName), u"COM2");
    EXPECT_FALSE(settings.startedWithParameters());
}

TEST_F(LinkSettingsTest, ReadsAndWritesConfigUnderItsFamily) {
    LinkSettings &settings = LinkSettings::current();
    platform::ProfileStore store(folder_ / "Config.ini");
    std::ofstream(folder_ / "Config.ini") << "[Communication]\nPortType=2\nLPTPortName=LPT2\n";
    settings.setComType(2);
    ASSERT_TRUE(settings.readFrom(store));
    EXPECT_EQ(settings.port().PortType, kSpoolerPrinter);
    settings.setComType(1);
    ASSERT_TRUE(settings.readFrom(store));
    EXPECT_EQ(settings.port().PortType, kParallelPort);
    EXPECT_EQ(fieldText(settings.port().LPTPortName), u"LPT2");

    tagPORTINFO chosen = settings.port();
    chosen.PortType = kSerialPort;
    EXPECT_TRUE(settings.writeTo(store, chosen));
    EXPECT_EQ(store.read("Communication", "PortType", ""), "1");
    EXPECT_EQ(settings.port().PortType, kParallelPort) << "writing does not change the current port";

    std::ofstream(folder_ / "Config.ini") << "[Communication]\nPortType=x\n";
    EXPECT_FALSE(settings.readFrom(store));
    EXPECT_EQ(settings.port().PortType, kParallelPort);
}

TEST_F(LinkSettingsTest, ReadersNeverSeeHalfAnUpdate) {
    LinkSettings &settings = LinkSettings::current();
    tagPORTINFO a{}, b{};
    a.PortType = kSerialPort;
    a.NetPort = 1;
    setFieldText(a.NetAddress, std::u16string(259, u'a'));
    b.PortType = kNetworkPrinter;
    b.NetPort = 2;
    setFieldText(b.NetAddress, std::u16string(259, u'b'));
    settings.setPort(a);
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 2000; ++i) settings.setPort(i % 2 ? a : b);
        done = true;
    });
    int torn = 0;
    while (!done) {
        tagPORTINFO seen = settings.port();
        const char16_t expected = seen.NetPort == 1 ? u'a' : u'b';
        if (seen.NetAddress[0] != expected || seen.NetAddress[258] != expected ||
            seen.PortType != (seen.NetPort == 1 ? kSerialPort : kNetworkPrinter))
            ++torn;
    }
    writer.join();
    EXPECT_EQ(torn, 0);
}

}  // namespace
