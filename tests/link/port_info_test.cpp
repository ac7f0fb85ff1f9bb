#include "link/port_info.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace printer_link;

TEST(PortInfo, LayoutIsTheSharedOne) {
    // The same checks hold at compile time; these report every offset when one is wrong.
    EXPECT_EQ(sizeof(tagPORTINFO), 1672u);
    EXPECT_EQ(offsetof(tagPORTINFO, PortType), 0u);
    EXPECT_EQ(offsetof(tagPORTINFO, COMPortName), 4u);
    EXPECT_EQ(offsetof(tagPORTINFO, BaudRate), 44u);
    EXPECT_EQ(offsetof(tagPORTINFO, DataSize), 48u);
    EXPECT_EQ(offsetof(tagPORTINFO, StopBits), 52u);
    EXPECT_EQ(offsetof(tagPORTINFO, ParityBits), 56u);
    EXPECT_EQ(offsetof(tagPORTINFO, FlowControl), 60u);
    EXPECT_EQ(offsetof(tagPORTINFO, LPTPortName), 64u);
    EXPECT_EQ(offsetof(tagPORTINFO, USBClassName), 104u);
    EXPECT_EQ(offsetof(tagPORTINFO, USBAPIIndex), 624u);
    EXPECT_EQ(offsetof(tagPORTINFO, DriverPrinterName), 628u);
    EXPECT_EQ(offsetof(tagPORTINFO, NetAddress), 1148u);
    EXPECT_EQ(offsetof(tagPORTINFO, NetPort), 1668u);
}

TEST(PortInfo, StringsAreUtf16LittleEndianInTheirFields) {
    tagPORTINFO port{};
    ASSERT_TRUE(setFieldText(port.COMPortName, u"COM3"));
    port.NetPort = 9100;
    unsigned char bytes[sizeof port];
    std::memcpy(bytes, &port, sizeof port);
    const unsigned char name[] = {'C', 0, 'O', 0, 'M', 0, '3', 0, 0, 0};
    EXPECT_EQ(std::memcmp(bytes + 4, name, sizeof name), 0);
    EXPECT_EQ(bytes[1668], 0x8C);  // 9100 = 0x238C
    EXPECT_EQ(bytes[1669], 0x23);
}

TEST(PortInfo, FieldTakesAtMostItsUnitsMinusOne) {
    tagPORTINFO port{};
    EXPECT_TRUE(setFieldText(port.COMPortName, std::u16string(19, u'x')));
    EXPECT_EQ(fieldText(port.COMPortName).size(), 19u);
    EXPECT_EQ(port.COMPortName[19], u'\0');
    EXPECT_FALSE(setFieldText(port.COMPortName, std::u16string(20, u'y')));
    EXPECT_EQ(fieldText(port.COMPortName), std::u16string(19, u'x')) << "a refused text leaves the field";
    EXPECT_TRUE(setFieldText(port.NetAddress, std::u16string(259, u'a')));
    EXPECT_FALSE(setFieldText(port.NetAddress, std::u16string(260, u'a')));
    EXPECT_FALSE(setFieldText(port.LPTPortName, std::u16string(u"LP\0T", 4)));
}

TEST(PortInfo, ShorterTextZeroesTheRestOfTheField) {
    tagPORTINFO port{};
    setFieldText(port.LPTPortName, u"LPT1234567");
    setFieldText(port.LPTPortName, u"LPT2");
    for (size_t i = 4; i < 20; ++i) EXPECT_EQ(port.LPTPortName[i], u'\0') << i;
}

TEST(PortInfo, FieldWithoutNulReadsToItsEnd) {
    tagPORTINFO port{};
    for (char16_t &unit : port.COMPortName) unit = u'z';
    EXPECT_EQ(fieldText(port.COMPortName).size(), 20u);
}

TEST(PortInfo, CuttingKeepsSurrogatePairsWhole) {
    tagPORTINFO port{};
    std::u16string text(18, u'a');
    text += u"\U0001F5A8";  // two units at positions 18 and 19
    setFieldTextCut(port.COMPortName, text);
    EXPECT_EQ(fieldText(port.COMPortName), std::u16string(18, u'a'));
    setFieldTextCut(port.COMPortName, u"short");
    EXPECT_EQ(fieldText(port.COMPortName), u"short");
}

TEST(PortInfo, Utf8ConversionsRoundTripAndRefuseMalformedText) {
    EXPECT_EQ(utf16FromUtf8("Drucker \xC3\xA4 \xE6\x89\x93"), u"Drucker \u00E4 \u6253");
    EXPECT_EQ(utf8FromUtf16(u"\U0001F5A8 ok"), "\xF0\x9F\x96\xA8 ok");
    EXPECT_FALSE(utf16FromUtf8("\xC3"));
    EXPECT_FALSE(utf16FromUtf8("\xFF\xFE"));
    EXPECT_FALSE(utf8FromUtf16(std::u16string(1, char16_t(0xD800))));
    EXPECT_EQ(utf16FromUtf8(""), u"");
}

TEST(PortInfo, DecimalValuesReadLikeAtoi) {
    struct Case {
        const char16_t *text;
        int32_t value;
    } cases[] = {
        {u"9600", 9600}, {u"  42", 42}, {u"+7", 7}, {u"-3", -3}, {u"12abc", 12}, {u"abc", 0},
        {u"", 0}, {u" ", 0}, {u"99999999999", INT32_MAX}, {u"-99999999999", INT32_MIN}, {u"1,2", 1},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(decimalValue(std::u16string_view(c.text)), c.value);
        std::string narrow(c.text, c.text + std::char_traits<char16_t>::length(c.text));
        EXPECT_EQ(decimalValue(std::string_view(narrow)), c.value) << narrow;
    }
}

}  // namespace
