// The KDXA module: fixed-cell bitmap fonts with set codes and range fields, module-letter
// addressing, and the module directory that answers both queries.
#include <ostream>
#include <string>
#include <vector>

#include "module_test_support.h"

namespace kdxtest {
namespace {

const Bytes SOH = "\x01";
const Bytes STX = "\x02";

const Procedures &kdxa() { return procedures("KDXA"); }

const uint8_t *bytes(const Bytes &b) { return reinterpret_cast<const uint8_t *>(b.data()); }

TEST(KdxaModule, SingleByteFontSendsOneCellPerCode) {
    BitmapFont font;
    font.table = CodeTable::mbcs({{0x20, 95}});
    font.selectAll();
    font.fixedCells(16, 24);
    font.name = u"A00";
    font.setting.fontId = 7;
    font.setting.memory = 0;
    const FontBuild build = buildFont(kdxa(), font);
    ASSERT_TRUE(build.ok);
    EXPECT_BYTES(
        SOH + "D\r\n" + STX + "bA" + "0" + "07" + "A00\r" + "0016" + "0024" + "00" + "20" + "0095" + font.glyphs,
        build.stream());
    EXPECT_EQ(build.bound, 14 + 16 + 48 * 95);
}

// A code missing from the table still gets its cell, filled with zeros.
TEST(KdxaModule, CodeAbsentFromTheTableGetsABlankCell) {
    BitmapFont font;
    font.table = CodeTable::mbcs({{0x20, 0x44 - 0x20}, {0x45, 0x7F - 0x45}});
    font.selectAll();  // 94 characters, 0x20 to 0x7E without 0x44
    font.fixedCells(16, 24);
    font.name = u"A00";
    font.setting.fontId = 7;
    const std::size_t cell = 48;
    const Bytes cells = font.glyphs.substr(0, 36 * cell) + Bytes(cell, '\0') + font.glyphs.substr(36 * cell);
    const FontBuild build = buildFont(kdxa(), font);
    ASSERT_TRUE(build.ok);
    EXPECT_BYTES(SOH + "D\r\n" + STX + "bA007A00\r" + "00160024" + "00200095" + cells, build.stream());
    EXPECT_EQ(build.bound, 14 + 16 + 48 * 95);
}

TEST(KdxaModule, FontNumberModuleLetterAndRangeFields) {
    struct Case {
        uint16_t fontId;
        uint8_t memory;
        Bytes head;
    };
    const Case cases[] = {
        {5, 0, "bA005F\r"},
        {123, 1, "bB023F\r"},  // only the last two digits of the number are sent
        {40, 2, "bB040F\r"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.head);
        BitmapFont font;
        font.table = CodeTable::mbcs({{0xA1, 15}});
        font.selectAll();
        font.fixedCells(8, 2);
        font.name = u"F";
        font.setting.fontId = c.fontId;
        font.setting.memory = c.memory;
        const FontBuild build = buildFont(kdxa(), font);
        ASSERT_TRUE(build.ok);
        EXPECT_BYTES(SOH + "D\r\n" + STX + c.head + "00080002" + "00a10015" + font.glyphs, build.stream());
    }
}

struct LargeSetCase {
    const char *table;
    int count;
    int firstCode;
    int rowLength;
    Bytes setCode;
    Bytes rangeField;
};
void PrintTo(const LargeSetCase &c, std::ostream *os) { *os << c.table; }

class KdxaLargeSet : public ::testing::TestWithParam<LargeSetCase> {};

TEST_P(KdxaLargeSet, SetCodeAndRangeFollowTheCodeTable) {
    const auto &c = GetParam();
    BitmapFont font;
    font.table = CodeTable::blocks(true, c.firstCode, c.count, c.rowLength);
    font.selectAll();
    ASSERT_EQ(font.range.charCount, c.count);
    ASSERT_EQ(font.range.largeSet, 1);
    font.fixedCells(8, 1);
    font.name = u"K";
    font.setting.fontId = 12;
    font.setting.memory = 1;
    const FontBuild build = buildFont(kdxa(), font);
    ASSERT_TRUE(build.ok);
    EXPECT_BYTES(SOH + "D\r\n" + STX + "bB" + c.setCode + "12K\r" + "00080001" + c.rangeField + font.glyphs,
                 build.stream());
    EXPECT_EQ(build.bound, 12 + 16 + c.count);
}

INSTANTIATE_TEST_SUITE_P(Tables, KdxaLargeSet,
                         ::testing::Values(LargeSetCase{"GB2312", 6768, 0xB0A1, 94, "1", "b0a16768"},
                                           LargeSetCase{"Big5", 13973, 0xA440, 157, "5", "00013973"},
                                           LargeSetCase{"JIS", 7812, 0x2121, 94, "7", "21217812"},
                                           LargeSetCase{"KSC", 3336, 0xB0A1, 94, "6", "b0a13336"},
                                           LargeSetCase{"GB18030", 28576, 0x8100, 256, "2", "00028576"}),
                         [](const auto &info) { return std::string(info.param.table); });

TEST(KdxaModule, LargeSetOfAnUnknownSizeIsRefused) {
    BitmapFont font;
    font.table = CodeTable::blocks(true, 0xB0A1, 6769, 94);
    font.selectAll();
    font.fixedCells(8, 1);
    const FontBuild build = buildFont(kdxa(), font);  // checks that nothing was written
    EXPECT_FALSE(build.ok);
}

// Codes that do not ascend would make more cells than the range field announces; the stream
// must still stay inside its bound.
TEST(KdxaModule, TablesWhoseCodesDoNotAscendStayInsideTheBound) {
    const CodeTable tables[] = {
        CodeTable::mbcs({{0x20, 16}, {0x60, 16}, {0x30, 16}}),
        CodeTable::mbcs({{0x60, 16}, {0x20, 16}}),
    };
    for (const CodeTable &table : tables) {
        BitmapFont font;
        font.table = table;
        font.selectAll();
        font.fixedCells(16, 24);
        font.name = u"A00";
        const FontBuild build = buildFont(kdxa(), font);
        if (build.ok) {
            EXPECT_GT(build.out->reported(), 0);
        }
    }
}

TEST(KdxaModule, GraphicIsAnImageFile) {
    const Bytes payload = pattern(300);
    struct Case {
        const char16_t *format;
        uint8_t selector;
        Bytes head;
    };
    for (const Case &c : {Case{u"BMP", 0, "IAB"}, Case{u"PCX", 1, "IBP"}, Case{u"BMP", 1, "IBB"}}) {
        SCOPED_TRACE(c.head);
        int32_t bound = 0;
        kdxa().GetGraphicDataLength(u"LOGO", 300, &bound);
        OutBuffer out(static_cast<std::size_t>(bound));
        ASSERT_TRUE(
            kdxa().GetGraphicData(u"LOGO", c.format, c.selector, bytes(payload), 300, 0, 0, out.data(), out.length()));
        EXPECT_BYTES(SOH + "D\r\n" + STX + c.head + "LOGO\r" + payload, out.written());
        EXPECT_EQ(out.reported(), bound) << "the graphic length is exact";
    }
}

TEST(KdxaModule, GraphicLengthCountsTheConvertedName) {
    ScopedEnv codePage("KDX_CODEPAGE", "936");
    const Bytes payload = pattern(10);
    int32_t bound = 0;
    kdxa().GetGraphicDataLength(u"宋体", 10, &bound);
    EXPECT_EQ(bound, 4 + 4 + 4 + 1 + 10);
    OutBuffer out(static_cast<std::size_t>(bound));
    ASSERT_TRUE(kdxa().GetGraphicData(u"宋体", u"PCX", 0, bytes(payload), 10, 0, 0, out.data(), out.length()));
    EXPECT_BYTES(SOH + "D\r\n" + STX + "IAP" + raw({0xCB, 0xCE, 0xCC, 0xE5}) + "\r" + payload, out.written());
}

TEST(KdxaModule, GraphicRefusesOtherFormatsAndSelectors) {
    const Bytes payload = pattern(30);
    struct Case {
        const char16_t *format;
        uint8_t selector;
    };
    for (Case c : {Case{u"GRF", 0}, Case{u"PNG", 0}, Case{u"bmp", 0}, Case{u"BMP", 2}}) {
        OutBuffer out(200);
        EXPECT_FALSE(
            kdxa().GetGraphicData(u"LOGO", c.format, c.selector, bytes(payload), 30, 0, 0, out.data(), out.length()));
        EXPECT_TRUE(out.untouched());
    }
}

TEST(KdxaModule, QueriesAskForTheModuleDirectory) {
    struct Case {
        uint8_t selector, kind;
        bool ok;
        Bytes expected;
    };
    const Case queries[] = {
        {0, 1, true, STX + "WF"}, {1, 2, true, STX + "WG"}, {0, 0, false, ""}, {0, 3, false, ""}, {2, 1, false, ""}};
    for (const Case &c : queries) {
        SCOPED_TRACE(testing::Message() << int(c.selector) << "/" << int(c.kind));
        OutBuffer out;
        ASSERT_EQ(kdxa().GetFileQueryCmd(c.selector, c.kind, out.data(), out.length()), c.ok);
        if (c.ok)
            EXPECT_BYTES(c.expected, out.written());
        else
            EXPECT_TRUE(out.untouched());
    }
    for (uint8_t selector : {0, 1}) {
        OutBuffer out;
        ASSERT_TRUE(kdxa().GetModuleMemCmd(selector, out.data(), out.length()));
        EXPECT_BYTES(STX + "WF", out.written());
    }
    OutBuffer refused;
    EXPECT_FALSE(kdxa().GetModuleMemCmd(2, refused.data(), refused.length()));
    EXPECT_TRUE(refused.untouched());
}

// RAM is the first module of the directory, FLASH the third.
const char *const kThreeModules =
    "MODULE A\r\nA00\r\nAVAILABLE: 1000 BYTES\r\n"
    "MODULE Y\r\nAVAILABLE: 2000 BYTES\r\n"
    "MODULE B\r\n LOGO \r\nPIC\r\nAVAILABLE: 3000 BYTES\r\n";

TEST(KdxaModule, FreeMemoryIsTheModulesAvailableLine) {
    struct Case {
        const char *what;
        uint8_t selector;
        const char *reply;
        bool ok;
        int64_t freeBytes;
    };
    const Case cases[] = {
        {"RAM", 0, kThreeModules, true, 1000},
        {"FLASH", 1, kThreeModules, true, 3000},
        {"without BYTES", 0, "MODULE A\r\nAVAILABLE: 777\r\n", true, 777},
        {"spaces inside the number", 0, "MODULE A\r\nAVAILABLE: 1 234 567 BYTES\r\n", true, 1234567},
        {"FLASH of a two-module directory", 1, "MODULE A\r\nAVAILABLE: 1\r\nMODULE B\r\nAVAILABLE: 2\r\n", false, 0},
        {"no AVAILABLE", 0, "MODULE A\r\nA00\r\n", false, 0},
        {"no CR after AVAILABLE", 0, "MODULE A\r\nAVAILABLE: 1000 BYTES", false, 0},
        {"no colon", 0, "MODULE A\r\nAVAILABLE 1000 BYTES\r\n", false, 0},
        {"selector 2", 2, kThreeModules, false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        int64_t freeBytes = -5;
        EXPECT_EQ(kdxa().GetModuleMemLen(c.selector, c.reply, &freeBytes), c.ok);
        EXPECT_EQ(freeBytes, c.ok ? c.freeBytes : -5);
    }
}

TEST(KdxaModule, FileListNamesTheModulesFiles) {
    struct Case {
        const char *what;
        uint8_t selector, kind;
        const char *reply;
        std::vector<std::string> records;
    };
    const Case cases[] = {
        {"fonts in RAM",
         0,
         1,
         "MODULE A\r\nA00\r\nB01\r\nAVAILABLE: 1000 BYTES\r\n",
         {"RAM|A00|Bitmap Font|", "RAM|B01|Bitmap Font|"}},
        {"graphics in FLASH", 1, 2, kThreeModules, {"FLASH|LOGO|Graphic|", "FLASH|PIC|Graphic|"}},
        {"empty first name line", 0, 1, "MODULE A\r\n\r\nA00\r\nAVAILABLE: 1000 BYTES\r\n", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const ListResult list = queryList(kdxa(), c.selector, c.kind, c.reply);
        ASSERT_TRUE(list.ok);
        EXPECT_EQ(list.count, static_cast<int32_t>(c.records.size()));
        EXPECT_EQ(list.records, c.records);
    }
}

TEST(KdxaModule, FileListRefusals) {
    struct Case {
        const char *what;
        uint8_t selector, kind;
        const char *reply;
    };
    const Case cases[] = {
        {"no AVAILABLE", 0, 1, "MODULE A\r\nA00\r\n"},
        {"no MODULE", 0, 1, "A00\r\nAVAILABLE: 1\r\n"},
        {"FLASH of a one-module directory", 1, 1, "MODULE A\r\nA00\r\nAVAILABLE: 1\r\n"},
        {"no line end after MODULE", 0, 1, "MODULE A"},
        {"kind 0", 0, 0, "MODULE A\r\nA00\r\nAVAILABLE: 1\r\n"},
        {"kind 3", 0, 3, "MODULE A\r\nA00\r\nAVAILABLE: 1\r\n"},
        {"selector 2", 2, 1, kThreeModules},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const ListResult list = queryList(kdxa(), c.selector, c.kind, c.reply);
        EXPECT_FALSE(list.ok);
        EXPECT_EQ(list.count, kLengthSentinel);
    }
}

TEST(KdxaModule, DeleteAddressesEachFileByModuleAndKind) {
    const FileRecord records[] = {
        fileRecord(u"RAM", u"A00", u"Bitmap Font"),
        fileRecord(u"FLASH", u"LOGO", u"Graphic"),
        fileRecord(u"RAM", u"X", u"Font"),
    };
    OutBuffer out;
    ASSERT_TRUE(kdxa().GetFileDelCmd(records, 3, out.data(), out.length()));
    EXPECT_BYTES(STX + "xAFA00\r\n" + STX + "xBGLOGO\r\n" + STX + "xAGX\r\n", out.written());
}

TEST(KdxaModule, FormatClearsTheFirstRecordsModule) {
    struct Case {
        const char16_t *memory;
        Bytes expected;
    };
    for (const Case &c : {Case{u"RAM", STX + "qA\r\n"}, Case{u"FLASH", STX + "qB\r\n"}}) {
        const FileRecord records[] = {fileRecord(c.memory, u"", u""), fileRecord(u"RAM", u"A00", u"Bitmap Font")};
        OutBuffer out;
        ASSERT_TRUE(kdxa().GetFileFormatCmd(records, 2, out.data(), out.length()));
        EXPECT_BYTES(c.expected, out.written());
    }
}

Bytes printCommand(const FileRecord &record, const PrintInput &print) {
    const PrintSetting setting = print.view();
    OutBuffer out;
    kdxa().GetFilePrintCmd(&record, &setting, out.data(), out.length());
    EXPECT_TRUE(out.withinRoom());
    return out.written();
}

TEST(KdxaModule, TestPrintsUseFixedPositions) {
    PrintInput print;
    print.x = u"99";
    print.rotation = u"90";
    EXPECT_BYTES(STX + "L\rN\r" + "3911A0000100120I am test string!\r" + "Q0001\rE\r",
                 printCommand(fileRecord(u"RAM", u"A00", u"Bitmap Font"), print));
    EXPECT_BYTES(STX + "L\rN\r" + "1Y1100000100120LOGO\r" + "Q0001\rE\r",
                 printCommand(fileRecord(u"FLASH", u"LOGO", u"Graphic"), print));
}

TEST(KdxaModule, TestTextIsInTheCodePage) {
    ScopedEnv codePage("KDX_CODEPAGE", "936");
    PrintInput print;
    print.testText = u"测试";
    EXPECT_BYTES(STX + "L\rN\r" + "3911A0000100120" + raw({0xB2, 0xE2, 0xCA, 0xD4}) + "\r" + "Q0001\rE\r",
                 printCommand(fileRecord(u"RAM", u"A00", u"Bitmap Font"), print));
}

}  // namespace
}  // namespace kdxtest
