// The KDXE module: bitmap fonts as per-character records, quoted names, and the two file-list
// queries that announce their entry count first.
#include <string>
#include <utility>
#include <vector>

#include "module_test_support.h"

namespace kdxtest {
namespace {

const Procedures &kdxe() { return procedures("KDXE"); }

const uint8_t *bytes(const Bytes &b) { return reinterpret_cast<const uint8_t *>(b.data()); }

Bytes fontHead(int countByte, int cellHeight) { return "\r\nEK\"a\"\r\nES\"a\"" + raw({countByte, 0, cellHeight}); }

BitmapFont letterFont(CodeTable table, int cellWidth, int cellHeight) {
    BitmapFont font;
    font.table = std::move(table);
    font.name = u"a";
    font.setting.memory = 1;
    font.selectAll();
    font.fixedCells(cellWidth, cellHeight);
    return font;
}

TEST(KdxeModule, FontSendsOneRecordPerCharacter) {
    BitmapFont font = letterFont(CodeTable::mbcs({{0x20, 95}}), 8, 16);
    Bytes records;
    for (int i = 0; i < 95; ++i)
        records += raw({0x20 + i, 8, 1}) + font.glyphs.substr(static_cast<std::size_t>(16 * i), 16);
    const FontBuild build = buildFont(kdxe(), font);
    ASSERT_TRUE(build.ok);
    EXPECT_BYTES(fontHead(95, 16) + records, build.stream());
    EXPECT_EQ(build.bound, (16 + 3) * 95 + 17);
}

TEST(KdxeModule, FontIgnoresTheMemorySelector) {
    BitmapFont font = letterFont(CodeTable::mbcs({{0x41, 2}}), 8, 1);
    font.setting.memory = 0;
    const FontBuild build = buildFont(kdxe(), font);
    ASSERT_TRUE(build.ok);
    EXPECT_BYTES(
        fontHead(2, 1) + raw({0x41, 8, 1}) + font.glyphs.substr(0, 1) + raw({0x42, 8, 1}) + font.glyphs.substr(1, 1),
        build.stream());
}

// Code 0 cannot be sent: a range that starts there announces one character fewer, and the glyph
// of code 0 is passed over.
TEST(KdxeModule, RangeStartingAtCodeZeroSkipsIt) {
    BitmapFont font = letterFont(CodeTable::mbcs({{0x00, 16}}), 8, 2);
    Bytes records;
    for (int code = 1; code < 16; ++code)
        records += raw({code, 8, 1}) + font.glyphs.substr(static_cast<std::size_t>(2 * code), 2);
    const FontBuild build = buildFont(kdxe(), font);
    ASSERT_TRUE(build.ok);
    EXPECT_BYTES(fontHead(15, 2) + records, build.stream());
}

// Only the low byte of a code is sent; a code whose low byte is 0 gets no record.
TEST(KdxeModule, CodesAreSentAsTheirLowByte) {
    BitmapFont font = letterFont(CodeTable::mbcs({{0xA1FE, 3}}), 8, 1);
    const FontBuild build = buildFont(kdxe(), font);
    ASSERT_TRUE(build.ok);
    EXPECT_BYTES(
        fontHead(3, 1) + raw({0xFE, 8, 1}) + font.glyphs.substr(0, 1) + raw({0xFF, 8, 1}) + font.glyphs.substr(1, 1),
        build.stream());
}

TEST(KdxeModule, CountByteIsTheLowByteOfTheCount) {
    BitmapFont font = letterFont(CodeTable::mbcs({{0x8101, 255}, {0x8201, 45}}), 8, 1);
    ASSERT_EQ(font.range.charCount, 300);
    const FontBuild build = buildFont(kdxe(), font);
    ASSERT_TRUE(build.ok);
    const Bytes stream = build.stream();
    ASSERT_GT(stream.size(), 14u);
    EXPECT_EQ(static_cast<uint8_t>(stream[14]), 300 % 256);
}

TEST(KdxeModule, ProportionalRecordsCarryEachWidth) {
    BitmapFont font = letterFont(CodeTable::mbcs({{0x41, 3}}), 16, 2);
    font.setting.fixedWidth = 0;
    font.widths->widths[0] = 12;
    font.widths->widths[1] = 0;
    font.widths->widths[2] = 5;
    font.glyphs = pattern(4 + 0 + 2);
    const FontBuild build = buildFont(kdxe(), font);
    ASSERT_TRUE(build.ok);
    EXPECT_BYTES(fontHead(3, 2) + raw({0x41, 12, 2}) + font.glyphs.substr(0, 4) + raw({0x42, 0, 0}) +
                     raw({0x43, 5, 1}) + font.glyphs.substr(4, 2),
                 build.stream());
}

TEST(KdxeModule, GraphicIsAPcxStoredUnderItsQuotedName) {
    const Bytes payload = pattern(300);
    for (uint8_t selector : {0, 1}) {
        int32_t bound = 0;
        kdxe().GetGraphicDataLength(u"LOGO", 300, &bound);
        EXPECT_EQ(bound, 400);
        OutBuffer out(static_cast<std::size_t>(bound));
        ASSERT_TRUE(
            kdxe().GetGraphicData(u"LOGO", u"PCX", selector, bytes(payload), 300, 0, 0, out.data(), out.length()));
        EXPECT_TRUE(out.withinRoom());
        EXPECT_BYTES("GK\"LOGO\"\r\nGM\"LOGO\"300\r\n" + payload, out.written());
    }
    for (const char16_t *format : {u"BMP", u"pcx"}) {
        OutBuffer out(400);
        EXPECT_FALSE(kdxe().GetGraphicData(u"LOGO", format, 1, bytes(payload), 300, 0, 0, out.data(), out.length()));
        EXPECT_TRUE(out.untouched());
    }
}

TEST(KdxeModule, QueriesTakeFlashOnly) {
    OutBuffer mem;
    ASSERT_TRUE(kdxe().GetModuleMemCmd(1, mem.data(), mem.length()));
    EXPECT_BYTES("^XA\r\n^HWE:*.*\r\n^XZ", mem.written());
    OutBuffer ramMem;
    EXPECT_FALSE(kdxe().GetModuleMemCmd(0, ramMem.data(), ramMem.length()));
    EXPECT_TRUE(ramMem.untouched());

    struct Case {
        uint8_t selector, kind;
        bool ok;
        Bytes expected;
    };
    const Case queries[] = {
        {1, 1, true, "UE\r\n"}, {1, 2, true, "UG\r\n"}, {1, 0, false, ""}, {0, 1, false, ""}, {1, 3, false, ""}};
    for (const Case &c : queries) {
        SCOPED_TRACE(testing::Message() << int(c.selector) << "/" << int(c.kind));
        OutBuffer out;
        ASSERT_EQ(kdxe().GetFileQueryCmd(c.selector, c.kind, out.data(), out.length()), c.ok);
        if (c.ok)
            EXPECT_BYTES(c.expected, out.written());
        else
            EXPECT_TRUE(out.untouched());
    }
}

TEST(KdxeModule, FreeMemoryFollowsAHyphenAndThreeSpaces) {
    struct Case {
        const char *what;
        uint8_t selector;
        const char *reply;
        bool ok;
        int64_t freeBytes;
    };
    const Case cases[] = {
        {"listing", 1, "- DIR E:*.*\r\n* E:LOGO.PCX 300\r\n-   4096000 bytes free\r\n", true, 4096000},
        {"two spaces only", 1, "- DIR E:*.*\r\n-  4096000 bytes free\r\n", false, 0},
        {"no directory marker", 1, "-   4096000 bytes free\r\n", false, 0},
        {"the RAM listing", 1, "- DIR R:*.*\r\n-   4096000 bytes free\r\n", false, 0},
        {"no bytes free", 1, "- DIR E:*.*\r\n-   4096000\r\n", false, 0},
        {"selector 0", 0, "- DIR E:*.*\r\n-   4096000 bytes free\r\n", false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        int64_t freeBytes = -5;
        EXPECT_EQ(kdxe().GetModuleMemLen(c.selector, c.reply, &freeBytes), c.ok);
        EXPECT_EQ(freeBytes, c.ok ? c.freeBytes : -5);
    }
}

TEST(KdxeModule, FileListReadsTheAnnouncedEntries) {
    struct Case {
        const char *what;
        uint8_t kind;
        const char *reply;
        std::vector<std::string> records;
    };
    const Case cases[] = {
        {"fonts: the name ends at the first comma",
         1,
         "2\r\na,24,0,1\r\n b ,16\r\n",
         {"FLASH|a|Bitmap Font|", "FLASH|b|Bitmap Font|"}},
        {"graphics: one name per line", 2, "2\r\nLOGO\r\n PIC \r\n", {"FLASH|LOGO|Graphic|", "FLASH|PIC|Graphic|"}},
        {"no graphics", 2, "0\r\n", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const ListResult list = queryList(kdxe(), 1, c.kind, c.reply);
        ASSERT_TRUE(list.ok);
        EXPECT_EQ(list.count, static_cast<int32_t>(c.records.size()));
        EXPECT_EQ(list.records, c.records);
    }
}

TEST(KdxeModule, FileListWithFewerEntriesThanAnnouncedFails) {
    RecordList records;
    EXPECT_FALSE(kdxe().GetFileQueryResult(1, 1, "3\r\na,1\r\nb,2\r\n", records.data(), records.count()));
    EXPECT_EQ(records.describe(0), "FLASH|a|Bitmap Font|");
    EXPECT_EQ(records.describe(1), "FLASH|b|Bitmap Font|");
    EXPECT_TRUE(records.untouched(2));
}

TEST(KdxeModule, FileListRefusals) {
    struct Case {
        const char *what;
        uint8_t selector, kind;
        const char *reply;
    };
    const Case cases[] = {
        {"no line end after the count", 1, 1, "2"},
        {"a font line without a comma", 1, 1, "1\r\nabc\r\n"},
        {"selector 0", 0, 1, "1\r\na,1\r\n"},
        {"kind 0", 1, 0, "1\r\na,1\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(queryList(kdxe(), c.selector, c.kind, c.reply).ok);
    }
}

TEST(KdxeModule, DeleteAndFormatNameFontsAndGraphics) {
    const FileRecord records[] = {fileRecord(u"FLASH", u"a", u"Bitmap Font"),
                                  fileRecord(u"FLASH", u"LOGO", u"Graphic")};
    OutBuffer del;
    ASSERT_TRUE(kdxe().GetFileDelCmd(records, 2, del.data(), del.length()));
    EXPECT_BYTES("EK\"a\"\r\nGK\"LOGO\"\r\n", del.written());

    const FileRecord anything = fileRecord(u"RAM", u"x", u"Font");
    OutBuffer format;
    ASSERT_TRUE(kdxe().GetFileFormatCmd(&anything, 1, format.data(), format.length()));
    EXPECT_BYTES("EK\"*\"\r\nGK\"*\"\r\n", format.written());
}

Bytes printCommand(const FileRecord &record, const PrintInput &print) {
    const PrintSetting setting = print.view();
    OutBuffer out;
    kdxe().GetFilePrintCmd(&record, &setting, out.data(), out.length());
    EXPECT_TRUE(out.withinRoom());
    return out.written();
}

TEST(KdxeModule, FontTestPrintTurnsByQuarterTurns) {
    struct Case {
        std::u16string rotation;
        Bytes turns;
    };
    const Case cases[] = {{u"0", "0"}, {u"90", "1"}, {u"180", "2"}, {u"270", "3"}, {u"45", "0"}, {u"", "0"}};
    for (const Case &c : cases) {
        PrintInput print;
        print.rotation = c.rotation;
        print.x = u"99";
        EXPECT_BYTES("N\r\nA120,300," + c.turns + ",a,1,1,N,\"I am test string!\"\r\nP1\r\n",
                     printCommand(fileRecord(u"FLASH", u"a", u"Bitmap Font"), print));
    }
}

TEST(KdxeModule, GraphicTestPrintPlacesTheGraphic) {
    EXPECT_BYTES("N\r\nGG120,300,\"LOGO\"\r\nP1\r\n",
                 printCommand(fileRecord(u"FLASH", u"LOGO", u"Graphic"), PrintInput{}));
}

}  // namespace
}  // namespace kdxtest
