#include "link/communication_section.h"

#include "platform/profile_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using namespace printer_link;

class CommunicationSectionTest : public ::testing::Test {
protected:
    void put(const std::string &text) { std::ofstream(file(), std::ios::binary) << text; }
    std::string content() const {
        std::ifstream in(file(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::filesystem::path file() const { return folder_ / "Config.ini"; }
    platform::ProfileStore store() const { return platform::ProfileStore(file()); }

    static constexpr const char *kSerialSettings =
        "COMPortName=COM4\nBaudRate=115200\nDataSize=7\nStopBits=2\nParityBits=3\nFlowControl=2\nLPTPortName=LPT3\n";

    test_support::TempDir folder_;
};

TEST_F(CommunicationSectionTest, KindIsFittedToTheFamily) {
    struct Case {
        const char *stored;
        int comType;
        bool ok;
        int32_t kind;
    } cases[] = {
        {"1", 1, true, 1}, {"2", 1, true, 2}, {"3", 1, true, 3}, {"4", 1, true, 4},
        {"5", 1, true, 1}, {"6", 1, true, 1}, {"7", 1, true, 7},
        {"1", 2, true, 6}, {"2", 2, true, 6}, {"3", 2, true, 6}, {"4", 2, true, 6},
        {"5", 2, true, 5}, {"6", 2, true, 6}, {"7", 2, true, 7},
        {"8", 1, false, 0}, {"0", 1, false, 0}, {"", 1, false, 0}, {"8", 2, false, 0},
        {"", 2, false, 0}, {"07", 1, false, 0}, {"1a", 1, false, 0}, {"-1", 2, false, 0},
        {"3", 7, true, 3},  // a family other than 1 or 2 counts as 1
    };
    for (const Case &c : cases) {
        put(std::string("[Communication]\nPortType=") + c.stored + "\n");
        tagPORTINFO port{};
        port.PortType = 99;
        EXPECT_EQ(readCommunicationSection(store(), c.comType, port), c.ok) << c.stored << " family " << c.comType;
        EXPECT_EQ(port.PortType, c.ok ? c.kind : 99) << c.stored << " family " << c.comType;
    }
}

TEST_F(CommunicationSectionTest, InstalledPrinterUnderFamilyOneStartsAsSerialWithStoredSettings) {
    put(std::string("[Communication]\nPortType=6\n") + kSerialSettings);
    tagPORTINFO port{};
    ASSERT_TRUE(readCommunicationSection(store(), 1, port));
    EXPECT_EQ(port.PortType, kSerialPort);
    EXPECT_EQ(fieldText(port.COMPortName), u"COM4");
    EXPECT_EQ(port.BaudRate, 115200);
    EXPECT_EQ(port.DataSize, 7);
    EXPECT_EQ(port.StopBits, 2);
    EXPECT_EQ(port.ParityBits, 3);
    EXPECT_EQ(port.FlowControl, 2);
    EXPECT_EQ(fieldText(port.LPTPortName), u"LPT3");
}

TEST_F(CommunicationSectionTest, UsbUnderFamilyTwoStartsAsInstalledPrinterWithoutSerialKeys) {
    put(std::string("[Communication]\nPortType=3\n") + kSerialSettings);
    tagPORTINFO port{};
    setFieldText(port.COMPortName, u"COM9");
    port.BaudRate = 1200;
    ASSERT_TRUE(readCommunicationSection(store(), 2, port));
    EXPECT_EQ(port.PortType, kSpoolerPrinter);
    EXPECT_EQ(fieldText(port.COMPortName), u"COM9") << "serial keys are not read";
    EXPECT_EQ(port.BaudRate, 1200);
}

TEST_F(CommunicationSectionTest, NetworkKindReadsSerialKeysInBothFamilies) {
    for (int comType : {1, 2}) {
        put(std::string("[Communication]\nPortType=7\n") + kSerialSettings);
        tagPORTINFO port{};
        ASSERT_TRUE(readCommunicationSection(store(), comType, port));
        EXPECT_EQ(port.PortType, kNetworkPrinter);
        EXPECT_EQ(port.BaudRate, 115200) << comType;
        EXPECT_EQ(fieldText(port.LPTPortName), u"LPT3") << comType;
    }
}

TEST_F(CommunicationSectionTest, MissingKeysAndMissingFileGiveDefaults) {
    tagPORTINFO port{};
    ASSERT_TRUE(readCommunicationSection(store(), 1, port));  // no file at all
    EXPECT_EQ(port.PortType, kSerialPort);
    EXPECT_EQ(fieldText(port.COMPortName), u"COM1");
    EXPECT_EQ(port.BaudRate, 9600);
    EXPECT_EQ(port.DataSize, 8);
    EXPECT_EQ(port.StopBits, 0);
    EXPECT_EQ(port.ParityBits, 0);
    EXPECT_EQ(port.FlowControl, 1);
    EXPECT_EQ(fieldText(port.LPTPortName), u"LPT1");
}

TEST_F(CommunicationSectionTest, NumbersThatAreNotNumbersReadAsZeroAndNamesAreCut) {
    put("[Communication]\nPortType=1\nBaudRate=fast\nDataSize=8 bits\n"
        "COMPortName=/dev/serial/by-id/usb-adapter-port0\n");
    tagPORTINFO port{};
    ASSERT_TRUE(readCommunicationSection(store(), 1, port));
    EXPECT_EQ(port.BaudRate, 0);
    EXPECT_EQ(port.DataSize, 8);
    EXPECT_EQ(fieldText(port.COMPortName), u"/dev/serial/by-id/u");
}

TEST_F(CommunicationSectionTest, FailedReadChangesNothing) {
    put(std::string("[Communication]\nPortType=9\n") + kSerialSettings);
    tagPORTINFO port{};
    setFieldText(port.COMPortName, u"COM2");
    EXPECT_FALSE(readCommunicationSection(store(), 1, port));
    EXPECT_EQ(fieldText(port.COMPortName), u"COM2");
}

TEST_F(CommunicationSectionTest, FamilyOneWritesEverySerialAndParallelKey) {
    tagPORTINFO port{};
    port.PortType = kNetworkPrinter;
    setFieldText(port.COMPortName, u"/dev/ttyUSB0");
    port.BaudRate = 19200;
    port.DataSize = 7;
    port.StopBits = 1;
    port.ParityBits = 2;
    port.FlowControl = 0;
    setFieldText(port.LPTPortName, u"LPT2");
    setFieldText(port.NetAddress, u"192.168.1.20");  // never stored
    auto writable = store();
    writeCommunicationSection(writable, 1, port);
    EXPECT_EQ(content(),
              "[Communication]\nPortType=7\nCOMPortName=/dev/ttyUSB0\nBaudRate=19200\nDataSize=7\n"
              "StopBits=1\nParityBits=2\nFlowControl=0\nLPTPortName=LPT2\n");
    tagPORTINFO back{};
    ASSERT_TRUE(readCommunicationSection(store(), 1, back));
    EXPECT_EQ(back.PortType, 7);
    EXPECT_EQ(fieldText(back.COMPortName), u"/dev/ttyUSB0");
    EXPECT_EQ(back.StopBits, 1);
    EXPECT_EQ(fieldText(back.NetAddress), u"");
}

TEST_F(CommunicationSectionTest, FamilyTwoWritesOnlyTheKindAndKeepsOldSerialKeys) {
    put(std::string("[Language]\nCurLanguage=English\n[Communication]\nPortType=1\n") + kSerialSettings);
    tagPORTINFO port{};
    port.PortType = kSpoolerPrinter;
    setFieldText(port.COMPortName, u"COM8");
    auto writable = store();
    writeCommunicationSection(writable, 2, port);
    EXPECT_EQ(content(), std::string("[Language]\nCurLanguage=English\n[Communication]\nPortType=6\n") + kSerialSettings);
}

TEST_F(CommunicationSectionTest, DefaultsOfANewFileDependOnTheFamily) {
    auto writable = store();
    writeDefaultCommunicationSection(writable, 1);
    EXPECT_EQ(content(),
              "[Communication]\nPortType=1\nCOMPortName=COM1\nBaudRate=9600\nDataSize=8\nStopBits=0\n"
              "ParityBits=0\nFlowControl=1\nLPTPortName=LPT1\n");
    std::filesystem::remove(file());
    writeDefaultCommunicationSection(writable, 2);
    EXPECT_EQ(writable.read("Communication", "PortType", ""), "6");
    EXPECT_EQ(writable.read("Communication", "FlowControl", ""), "1");
}

}  // namespace
