// Rules that every language module keeps: its exports, its bitmap-font options and graphic
// formats, refusals that write nothing, and the capacities of the buffers the host owns.
#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "module_test_support.h"

namespace kdxtest {
namespace {

// What each module accepts, so that one test can reach the same rule in all of them.
struct ModuleTraits {
    const char *name;
    uint8_t selector;          // a memory selector its queries take
    uint8_t kind;              // a query kind it takes
    const char16_t *format;    // a graphic format it takes
    bool unicodeFonts;         // its bitmap fonts use Unicode code tables
    const char16_t *fontType;  // the record type its font test print is chosen by
};

const ModuleTraits kModules[] = {
    {"KDXZ", 0, 0, u"BMP", true, u"Font"},         {"KDXT", 0, 0, u"BMP", true, u"Font"},
    {"KDXA", 0, 1, u"BMP", false, u"Bitmap Font"}, {"KDXC", 1, 0, u"PCX", true, u"Bitmap Font"},
    {"KDXE", 1, 1, u"PCX", false, u"Bitmap Font"},
};

std::string moduleName(const ::testing::TestParamInfo<ModuleTraits> &info) { return info.param.name; }
void PrintTo(const ModuleTraits &m, std::ostream *os) { *os << m.name; }

// A small fixed-width font that every module takes: four characters from one row, FLASH.
BitmapFont smallFont(const ModuleTraits &m, std::u16string name) {
    BitmapFont font;
    font.table = m.unicodeFonts ? CodeTable::unicode({{0x41, 4}}) : CodeTable::mbcs({{0x41, 4}});
    font.name = std::move(name);
    font.setting.memory = 1;
    font.setting.fontId = 1;
    font.selectAll();
    font.fixedCells(8, 4);
    return font;
}

class EveryModule : public ::testing::TestWithParam<ModuleTraits> {
protected:
    const Procedures &module() const { return procedures(GetParam().name); }
};

INSTANTIATE_TEST_SUITE_P(Modules, EveryModule, ::testing::ValuesIn(kModules), moduleName);

TEST_P(EveryModule, ExportsAllFifteenProcedures) {
    for (const char *proc :
         {"GetCmdUIProp", "GetExportImgForm", "GetBmpFontLength", "GetBmpFontData", "GetTtfFontLength",
          "GetTtfFontData", "GetGraphicDataLength", "GetGraphicData", "GetModuleMemCmd", "GetModuleMemLen",
          "GetFileQueryCmd", "GetFileQueryResult", "GetFileDelCmd", "GetFileFormatCmd", "GetFilePrintCmd"})
        EXPECT_NE(findProcedure(GetParam().name, proc), nullptr) << proc;
}

TEST_P(EveryModule, RefusesMissingAndUnmarkedReplies) {
    const auto &m = GetParam();
    for (const char *reply : {static_cast<const char *>(nullptr), "garbage without any line end"}) {
        SCOPED_TRACE(reply ? reply : "(no reply)");
        int64_t freeBytes = -5;
        EXPECT_FALSE(module().GetModuleMemLen(m.selector, reply, &freeBytes));
        EXPECT_EQ(freeBytes, -5);

        RecordList records;
        EXPECT_FALSE(module().GetFileQueryResult(m.selector, m.kind, reply, records.data(), records.count()));
        EXPECT_EQ(records.reported(), kLengthSentinel);
        EXPECT_TRUE(records.untouched(0));
    }
}

TEST_P(EveryModule, RefusesMissingOrEmptyRecordLists) {
    const FileRecord one = fileRecord(u"FLASH", u"LOGO.PCX", u"Graphic", u"300");
    struct Case {
        const FileRecord *records;
        int32_t count;
    };
    for (Case c : {Case{nullptr, 1}, Case{&one, 0}, Case{&one, -1}}) {
        SCOPED_TRACE(c.count);
        OutBuffer del, format;
        EXPECT_FALSE(module().GetFileDelCmd(c.records, c.count, del.data(), del.length()));
        EXPECT_TRUE(del.untouched());
        EXPECT_FALSE(module().GetFileFormatCmd(c.records, c.count, format.data(), format.length()));
        EXPECT_TRUE(format.untouched());
    }
}

TEST_P(EveryModule, RefusesGraphicsWithoutNameOrPayload) {
    const auto &m = GetParam();
    const Bytes payload = pattern(40);
    const auto *bytes = reinterpret_cast<const uint8_t *>(payload.data());
    struct Case {
        const char *what;
        const char16_t *name;
        const uint8_t *payload;
        int32_t size;
    };
    for (Case c : {Case{"empty name", u"", bytes, 40}, Case{"no name", nullptr, bytes, 40},
                   Case{"no payload", u"LOGO", nullptr, 40}, Case{"empty payload", u"LOGO", bytes, 0},
                   Case{"negative size", u"LOGO", bytes, -1}}) {
        SCOPED_TRACE(c.what);
        OutBuffer out(1024);
        EXPECT_FALSE(
            module().GetGraphicData(c.name, m.format, m.selector, c.payload, c.size, 0, 0, out.data(), out.length()));
        EXPECT_TRUE(out.untouched());
    }
}

TEST_P(EveryModule, RefusesFontsWithoutGlyphData) {
    BitmapFont font = smallFont(GetParam(), u"a");
    struct Case {
        const uint8_t *glyphs;
        int32_t length;
    };
    for (Case c : {Case{nullptr, font.glyphLength()}, Case{font.glyphArg(), 0}, Case{font.glyphArg(), -1}}) {
        SCOPED_TRACE(c.length);
        OutBuffer out(4096);
        EXPECT_FALSE(module().GetBmpFontData(font.rangeArg(), font.settingArg(), font.widths.get(), c.glyphs, c.length,
                                             out.data(), out.length()));
        EXPECT_TRUE(out.untouched());
    }
}

TEST_P(EveryModule, FontStreamOfALongNameStaysInsideItsBound) {
    BitmapFont font = smallFont(GetParam(), std::u16string(100, u'n'));
    const FontBuild build = buildFont(module(), font);  // checks the bound itself
    if (build.ok) {
        EXPECT_GT(build.out->reported(), 0);
    }
}

TEST_P(EveryModule, GraphicStreamOfALongNameStaysInsideItsBound) {
    const auto &m = GetParam();
    const std::u16string name(200, u'g');
    const Bytes payload = pattern(300);
    int32_t bound = 0;
    module().GetGraphicDataLength(name.c_str(), 300, &bound);
    OutBuffer out(static_cast<std::size_t>(std::max(bound, 0)));
    if (module().GetGraphicData(name.c_str(), m.format, m.selector, reinterpret_cast<const uint8_t *>(payload.data()),
                                300, 0, 0, out.data(), out.length())) {
        EXPECT_TRUE(out.withinRoom());
        EXPECT_EQ(out.written().substr(out.written().size() - 300), payload);
    } else {
        EXPECT_TRUE(out.untouched());
    }
}

// Deleting more files than a command buffer can name is refused instead of overflowing it.
TEST_P(EveryModule, DeleteCommandBeyondTheCommandCapacityIsRefused) {
    const std::u16string longName(259, u'N');
    const std::vector<FileRecord> many(300, fileRecord(u"FLASH", longName, GetParam().fontType));
    OutBuffer out;
    EXPECT_FALSE(module().GetFileDelCmd(many.data(), 300, out.data(), out.length()));
    EXPECT_TRUE(out.untouched());
}

TEST_P(EveryModule, DeleteCommandForAFullListOfLongNamesFits) {
    const std::u16string longName(259, u'N');
    const std::vector<FileRecord> full(100, fileRecord(u"FLASH", longName, GetParam().fontType));
    OutBuffer out;
    ASSERT_TRUE(module().GetFileDelCmd(full.data(), 100, out.data(), out.length()));
    EXPECT_TRUE(out.withinRoom());
    EXPECT_GT(out.reported(), 100 * 259);
}

TEST_P(EveryModule, TestPrintBeyondTheCommandCapacityReportsNothing) {
    PrintInput print;
    print.testText = std::u16string(70000, u't');
    const PrintSetting setting = print.view();
    const FileRecord record = fileRecord(u"FLASH", u"a", GetParam().fontType);
    OutBuffer out;
    module().GetFilePrintCmd(&record, &setting, out.data(), out.length());
    EXPECT_EQ(out.reported(), 0);
    EXPECT_TRUE(out.withinRoom());
    EXPECT_EQ(out.data()[0], kSentinelByte);
}

// Modules that read the glyph data cell by cell refuse data that ends before the last cell.
class CellReadingModule : public EveryModule {};

INSTANTIATE_TEST_SUITE_P(Modules, CellReadingModule, ::testing::Values(kModules[2], kModules[4]), moduleName);

TEST_P(CellReadingModule, RefusesGlyphDataShorterThanItsGlyphs) {
    BitmapFont font = smallFont(GetParam(), u"a");
    OutBuffer out(4096);
    EXPECT_FALSE(module().GetBmpFontData(font.rangeArg(), font.settingArg(), font.widths.get(), font.glyphArg(),
                                         font.glyphLength() - 1, out.data(), out.length()));
    EXPECT_TRUE(out.untouched());
}

TEST(ModuleFiles, AModuleThatIsNotBuiltCannotBeBound) { EXPECT_ANY_THROW(procedures("KDXQ")); }

// ---------------------------------------------------------------------------------------------

struct UiCase {
    const char *module;
    CmdUIProp expected;
};
void PrintTo(const UiCase &c, std::ostream *os) { *os << c.module; }

class UiProperties : public ::testing::TestWithParam<UiCase> {};

TEST_P(UiProperties, MatchTheLanguage) {
    CmdUIProp prop;
    std::memset(&prop, kSentinelByte, sizeof prop);
    procedures(GetParam().module).GetCmdUIProp(&prop);
    const CmdUIProp &e = GetParam().expected;
    EXPECT_EQ(prop.encodingSupport, e.encodingSupport);
    EXPECT_EQ(prop.setSizeSupport, e.setSizeSupport);
    EXPECT_EQ(prop.tableVariant, e.tableVariant);
    EXPECT_EQ(prop.widthMode, e.widthMode);
    EXPECT_EQ(prop.fontIdSupport, e.fontIdSupport);
    EXPECT_EQ(prop.maxNameLength, e.maxNameLength);
}

INSTANTIATE_TEST_SUITE_P(Modules, UiProperties,
                         ::testing::Values(UiCase{"KDXZ", {1, 2, 1, 2, 0, 8}}, UiCase{"KDXT", {1, 2, 1, 2, 0, 8}},
                                           UiCase{"KDXA", {0, 0, 0, 1, 1, 8}}, UiCase{"KDXC", {1, 2, 1, 2, 0, 8}},
                                           UiCase{"KDXE", {0, 0, 0, 2, 0, 1}}),
                         [](const auto &info) { return std::string(info.param.module); });

struct FormatCase {
    const char *module;
    std::u16string formats;
    int32_t count;
};
void PrintTo(const FormatCase &c, std::ostream *os) { *os << c.module; }

class ExportFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ExportFormats, ListEveryFormatFollowedBySemicolon) {
    char16_t units[KDX_FORMATS_CAPACITY];
    std::fill(std::begin(units), std::end(units), char16_t{0xA5A5});
    int32_t count = -1;
    procedures(GetParam().module).GetExportImgForm(units, &count);
    bool terminated = false;
    EXPECT_TRUE(GetParam().formats == wideUpToNul(units, KDX_FORMATS_CAPACITY, &terminated));
    EXPECT_TRUE(terminated);
    EXPECT_EQ(count, GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(Modules, ExportFormats,
                         ::testing::Values(FormatCase{"KDXZ", u"BMP;GRF;PNG;", 3}, FormatCase{"KDXT", u"BMP;PCX;", 2},
                                           FormatCase{"KDXA", u"BMP;PCX;", 2}, FormatCase{"KDXC", u"PCX;", 1},
                                           FormatCase{"KDXE", u"PCX;", 1}),
                         [](const auto &info) { return std::string(info.param.module); });

class WithoutTrueType : public ::testing::TestWithParam<const char *> {};

TEST_P(WithoutTrueType, ReportsZeroAndWritesNothing) {
    const Procedures &m = procedures(GetParam());
    const Bytes file = pattern(500);
    int32_t bound = -1;
    m.GetTtfFontLength(u"ARIAL", 500, &bound);
    EXPECT_EQ(bound, 0);
    OutBuffer out(1024);
    m.GetTtfFontData(u"ARIAL", 1, reinterpret_cast<const uint8_t *>(file.data()), 500, out.data(), out.length());
    EXPECT_EQ(out.reported(), 0);
    EXPECT_EQ(out.data()[0], kSentinelByte);
    EXPECT_TRUE(out.withinRoom());
}

INSTANTIATE_TEST_SUITE_P(Modules, WithoutTrueType, ::testing::Values("KDXA", "KDXE"),
                         [](const auto &info) { return std::string(info.param); });

// ---------------------------------------------------------------------------------------------

struct ReplyCase {
    const char *module;
    uint8_t selector;
    uint8_t kind;
    std::string reply;
};

std::string replyCaseName(const ::testing::TestParamInfo<ReplyCase> &info) { return info.param.module; }
void PrintTo(const ReplyCase &c, std::ostream *os) { *os << c.module; }

class FreeMemory : public ::testing::TestWithParam<ReplyCase> {};

// Printers with more than 2 GiB of storage report counts beyond 32 bits.
TEST_P(FreeMemory, IsReadAsA64BitCount) {
    int64_t freeBytes = 0;
    EXPECT_TRUE(
        procedures(GetParam().module).GetModuleMemLen(GetParam().selector, GetParam().reply.c_str(), &freeBytes));
    EXPECT_EQ(freeBytes, 5'000'000'000LL);
}

INSTANTIATE_TEST_SUITE_P(Modules, FreeMemory,
                         ::testing::Values(ReplyCase{"KDXZ", 0, 0, "- DIR R:*.*\r\n-  5000000000 bytes free\r\n"},
                                           ReplyCase{"KDXT", 1, 0, "- DIR E:*.*\r\n-  5000000000 bytes free\r\n"},
                                           ReplyCase{"KDXA", 0, 0, "MODULE A\r\nAVAILABLE: 5000000000 BYTES\r\n"},
                                           ReplyCase{"KDXC", 1, 0, "LOGO.PCX 300\r\n5000000000 Bytes Free\r\n"},
                                           ReplyCase{"KDXE", 1, 0, "- DIR E:*.*\r\n-   5000000000 bytes free\r\n"}),
                         replyCaseName);

// Replies that name more files than the host's list can hold; all fit in one reply buffer.
std::string manyEntries(const char *module) {
    std::string reply;
    const std::string m = module;
    if (m == "KDXZ" || m == "KDXT") {
        // Entries may follow each other on one line; each is read from its entry marker on.
        reply = "DIR R:*.*\r\n" + repeat("* R:A.BMP ", 101) + "\r\n";
    } else if (m == "KDXA") {
        reply = "MODULE A\r\n";
        for (int i = 0; i < 150; ++i) reply += std::to_string(100 + i) + "\r\n";
        reply += "AVAILABLE: 1 BYTES\r\n";
    } else if (m == "KDXC") {
        for (int i = 0; i < 120; ++i) reply += std::to_string(i) + ".PCX\r\n";
        reply += "0 Bytes Free\r\n";
    } else {
        reply = "150\r\n";
        for (int i = 0; i < 150; ++i) reply += std::to_string(100 + i) + ",\r\n";
    }
    return reply;
}

class FileListCapacity : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(FileListCapacity, HoldsAtMostOneHundredRecords) {
    const auto &c = GetParam();
    ASSERT_LE(c.reply.size(), static_cast<std::size_t>(KDX_REPLY_CAPACITY));
    RecordList records;
    EXPECT_TRUE(
        procedures(c.module).GetFileQueryResult(c.selector, c.kind, c.reply.c_str(), records.data(), records.count()));
    EXPECT_EQ(records.reported(), 100);
    EXPECT_TRUE(records.tailUntouched());
}

INSTANTIATE_TEST_SUITE_P(Modules, FileListCapacity,
                         ::testing::Values(ReplyCase{"KDXZ", 0, 0, manyEntries("KDXZ")},
                                           ReplyCase{"KDXT", 0, 0, manyEntries("KDXT")},
                                           ReplyCase{"KDXA", 0, 1, manyEntries("KDXA")},
                                           ReplyCase{"KDXC", 1, 0, manyEntries("KDXC")},
                                           ReplyCase{"KDXE", 1, 1, manyEntries("KDXE")}),
                         replyCaseName);

}  // namespace
}  // namespace kdxtest
