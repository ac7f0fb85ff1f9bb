// The KDXZ module, and the downloads and queries that KDXT printers take in the same form: both
// modules must write them byte for byte alike.
#include <string>
#include <vector>

#include "module_test_support.h"

namespace kdxtest {
namespace {

const Bytes kSongTi = raw({0xCB, 0xCE, 0xCC, 0xE5});                 // "宋体" in code page 936
const Bytes kCeShiUtf8 = raw({0xE6, 0xB5, 0x8B, 0xE8, 0xAF, 0x95});  // "测试" in UTF-8

const uint8_t *bytes(const Bytes &b) { return reinterpret_cast<const uint8_t *>(b.data()); }

class ZFamily : public ::testing::TestWithParam<const char *> {
protected:
    const Procedures &module() const { return procedures(GetParam()); }
};

INSTANTIATE_TEST_SUITE_P(Modules, ZFamily, ::testing::Values("KDXZ", "KDXT"),
                         [](const auto &info) { return std::string(info.param); });

TEST_P(ZFamily, MemoryQueryListsTheChosenDrive) {
    struct Case {
        uint8_t selector;
        Bytes expected;
    };
    for (const Case &c : {Case{0, "^XA\r\n^HWR:*.*\r\n^XZ"}, Case{1, "^XA\r\n^HWE:*.*\r\n^XZ"}}) {
        OutBuffer mem, query;
        ASSERT_TRUE(module().GetModuleMemCmd(c.selector, mem.data(), mem.length()));
        EXPECT_BYTES(c.expected, mem.written());
        ASSERT_TRUE(module().GetFileQueryCmd(c.selector, 0, query.data(), query.length()));
        EXPECT_BYTES(c.expected, query.written());
    }
}

TEST_P(ZFamily, QueriesRefuseOtherSelectorsAndKinds) {
    OutBuffer mem;
    EXPECT_FALSE(module().GetModuleMemCmd(2, mem.data(), mem.length()));
    EXPECT_TRUE(mem.untouched());
    struct Case {
        uint8_t selector, kind;
    };
    for (Case c : {Case{0, 1}, Case{0, 2}, Case{1, 1}, Case{2, 0}}) {
        SCOPED_TRACE(testing::Message() << int(c.selector) << "/" << int(c.kind));
        OutBuffer query;
        EXPECT_FALSE(module().GetFileQueryCmd(c.selector, c.kind, query.data(), query.length()));
        EXPECT_TRUE(query.untouched());
    }
}

TEST_P(ZFamily, FreeMemoryIsReadFromTheDirectoryReply) {
    struct Case {
        const char *what;
        uint8_t selector;
        const char *reply;
        bool ok;
        int64_t freeBytes;
    };
    const Case cases[] = {
        {"RAM listing", 0, "- DIR R:*.*\r\n* R:LOGO.GRF      1234\r\n-  123456 bytes free\r\n", true, 123456},
        {"spaces inside the number", 1, "- DIR E:*.*\r\n-  12 345 bytes free\r\n", true, 12345},
        {"the other drive's listing", 0, "- DIR E:*.*\r\n-  123456 bytes free\r\n", false, 0},
        {"selector 2", 2, "- DIR R:*.*\r\n-  123456 bytes free\r\n", false, 0},
        {"no hyphen and two spaces", 0, "- DIR R:*.*\r\n- 123456 bytes free\r\n", false, 0},
        {"no bytes free", 0, "- DIR R:*.*\r\n-  123456 free\r\n", false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        int64_t freeBytes = -5;
        EXPECT_EQ(module().GetModuleMemLen(c.selector, c.reply, &freeBytes), c.ok);
        EXPECT_EQ(freeBytes, c.ok ? c.freeBytes : -5);
    }
}

TEST_P(ZFamily, TrueTypeFileFollowsItsHeader) {
    const Bytes file = pattern(5000);
    struct Case {
        uint8_t selector;
        const char *drive;
    };
    for (Case c : {Case{0, "~DYR:"}, Case{1, "~DYE:"}, Case{7, "~DYE:"}}) {
        SCOPED_TRACE(c.drive);
        int32_t bound = 0;
        module().GetTtfFontLength(u"ARIAL", 5000, &bound);
        OutBuffer out(static_cast<std::size_t>(bound));
        module().GetTtfFontData(u"ARIAL", c.selector, bytes(file), 5000, out.data(), out.length());
        EXPECT_TRUE(out.withinRoom());
        EXPECT_BYTES(c.drive + Bytes("ARIAL,b,T,5000,,") + file, out.written());
        EXPECT_EQ(out.reported(), bound) << "the TrueType length is exact";
    }
}

TEST_P(ZFamily, TrueTypeNameIsInTheCodePage) {
    ScopedEnv codePage("KDX_CODEPAGE", "936");
    const Bytes file = pattern(12);
    int32_t bound = 0;
    module().GetTtfFontLength(u"宋体", 12, &bound);
    OutBuffer out(static_cast<std::size_t>(bound));
    module().GetTtfFontData(u"宋体", 1, bytes(file), 12, out.data(), out.length());
    EXPECT_TRUE(out.withinRoom());
    EXPECT_BYTES("~DYE:" + kSongTi + ",b,T,12,," + file, out.written());
    EXPECT_EQ(out.reported(), bound);
}

TEST_P(ZFamily, TrueTypeWithoutFileBytesWritesNothing) {
    OutBuffer out(1024);
    module().GetTtfFontData(u"ARIAL", 1, nullptr, 10, out.data(), out.length());
    EXPECT_EQ(out.reported(), 0);
    EXPECT_EQ(out.data()[0], kSentinelByte);
}

// Ten glyphs of 8 x 113 dots make a payload of 1,234 bytes.
TEST_P(ZFamily, BitmapFontHeaderCarriesTheTenDigitPayloadSize) {
    BitmapFont font;
    font.table = CodeTable::unicode({{0x30, 10}});
    font.selectAll();
    font.fixedCells(8, 113);
    font.setting.memory = 1;
    const FontBuild build = buildFont(module(), font);
    ASSERT_TRUE(build.ok);
    const Bytes stream = build.stream();
    const Bytes head = "~DYE:FONT,B,T,0000001234,10,";
    EXPECT_BYTES(head, stream.substr(0, head.size()));
    EXPECT_EQ(stream.size(), head.size() + 1234);
    EXPECT_EQ(build.bound, static_cast<int32_t>(head.size() + 64 + 4 * 10 + 1130));
    EXPECT_BYTES(le32(1234), stream.substr(head.size() + 52, 4));
}

TEST_P(ZFamily, BitmapFontDriveFollowsTheSelector) {
    struct Case {
        uint8_t memory;
        const char *head;
    };
    for (Case c : {Case{0, "~DYR:a,B,T,"}, Case{1, "~DYE:a,B,T,"}, Case{9, "~DYE:a,B,T,"}}) {
        SCOPED_TRACE(c.head);
        BitmapFont font;
        font.table = CodeTable::unicode({{0x41, 2}});
        font.selectAll();
        font.fixedCells(8, 2);
        font.name = u"a";
        font.setting.memory = c.memory;
        const FontBuild build = buildFont(module(), font);
        ASSERT_TRUE(build.ok);
        EXPECT_BYTES(Bytes(c.head) + "0000000076,10,", build.stream().substr(0, 25));
    }
}

TEST_P(ZFamily, BitmapFontBoundCountsTheConvertedName) {
    ScopedEnv codePage("KDX_CODEPAGE", "936");
    BitmapFont font;
    font.table = CodeTable::unicode({{0x4E00, 100}, {0x4F00, 100}, {0x5000, 100}});
    font.select(0, 10, 2, 4);  // 90 + 100 + 5 characters
    font.fixedCells(12, 12);
    font.name = u"宋体";
    int32_t bound = 0;
    module().GetBmpFontLength(font.rangeArg(), font.settingArg(), &bound);
    EXPECT_EQ(bound, (5 + 4 + 5 + 10 + 4) + 64 + 8 * 2 + 4 * 195 + 2 * 12 * 195);
    font.setting.memory = 1;
    const FontBuild build = buildFont(module(), font);
    ASSERT_TRUE(build.ok);
    EXPECT_BYTES("~DYE:" + kSongTi + ",B,T,", build.stream().substr(0, 14));
}

TEST_P(ZFamily, GraphicLengthIsThePayloadPlus100) {
    int32_t bound = 0;
    module().GetGraphicDataLength(u"LOGO", 300, &bound);
    EXPECT_EQ(bound, 400);
}

TEST_P(ZFamily, BmpAndPcxGraphicsAreDownloadedAsFiles) {
    const Bytes payload = pattern(300);
    struct Case {
        const char16_t *format;
        uint8_t selector;
        Bytes head;
    };
    const Case cases[] = {
        {u"BMP", 0, "~DYR:LOGO,B,B,300,,"},
        {u"BMP", 1, "~DYE:LOGO,B,B,300,,"},
        {u"PCX", 0, "~DYR:LOGO,B,X,300,,"},
        {u"PCX", 1, "~DYE:LOGO,B,X,300,,"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.head);
        OutBuffer out(400);
        ASSERT_TRUE(module().GetGraphicData(u"LOGO", c.format, c.selector, bytes(payload), 300, 9, 9, out.data(),
                                            out.length()));
        EXPECT_TRUE(out.withinRoom());
        EXPECT_BYTES(c.head + payload, out.written());
    }
}

TEST_P(ZFamily, GraphicRefusesUnknownFormatsAndSelectors) {
    const Bytes payload = pattern(30);
    struct Case {
        const char16_t *format;
        uint8_t selector;
    };
    for (Case c : {Case{u"bmp", 0}, Case{u"JPG", 0}, Case{u"", 0}, Case{u"BMP", 2}}) {
        OutBuffer out(130);
        EXPECT_FALSE(
            module().GetGraphicData(u"LOGO", c.format, c.selector, bytes(payload), 30, 0, 0, out.data(), out.length()));
        EXPECT_TRUE(out.untouched());
    }
}

// ---------------------------------------------------------------------------------------------

const Procedures &kdxz() { return procedures("KDXZ"); }

TEST(KdxzModule, CompressedGraphicsCarryTheirImageNumbers) {
    const Bytes payload = "compressed image text";
    const auto size = static_cast<int32_t>(payload.size());
    struct Case {
        const char16_t *format;
        uint8_t selector;
        Bytes head;
    };
    const Case cases[] = {
        {u"GRF", 0, "~DGR:LOGO.GRF,4800,20,"},
        {u"GRF", 1, "~DGE:LOGO.GRF,4800,20,"},
        {u"PNG", 0, "~DYR:LOGO,P,P,4800,20,:B64:"},
        {u"PNG", 1, "~DYE:LOGO,P,P,4800,20,:B64:"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.head);
        int32_t bound = 0;
        kdxz().GetGraphicDataLength(u"LOGO", size, &bound);
        OutBuffer out(static_cast<std::size_t>(bound));
        ASSERT_TRUE(kdxz().GetGraphicData(u"LOGO", c.format, c.selector, bytes(payload), size, 4800, 20, out.data(),
                                          out.length()));
        EXPECT_TRUE(out.withinRoom());
        EXPECT_BYTES(c.head + payload, out.written());
    }
}

TEST(KdxzModule, FileListReadsGraphicsAndFonts) {
    struct Case {
        const char *what;
        uint8_t selector;
        const char *reply;
        std::vector<std::string> records;
    };
    const Case cases[] = {
        {"RAM listing",
         0,
         "- DIR R:*.*\r\n* R:LOGO.GRF      1234\r\n* R: ARIAL.TTF  56789\r\n* R:PIC.BMP 10\r\n* R:ICON.PNG 77\r\n"
         "-  123456 bytes free\r\n",
         {"RAM|LOGO.GRF|Graphic|1234", "RAM|ARIAL.TTF|Font|56789", "RAM|PIC.BMP|Graphic|10",
          "RAM|ICON.PNG|Graphic|77"}},
        {"FLASH listing", 1, "- DIR E:*.*\r\n* E:LOGO.GRF 12\r\n-  99 bytes free\r\n", {"FLASH|LOGO.GRF|Graphic|12"}},
        {"other extensions are skipped",
         0,
         "- DIR R:*.*\r\n* R:LABEL.ZPL 300\r\n* R:low.grf 5\r\n* R:LOGO.GRF 12\r\n",
         {"RAM|LOGO.GRF|Graphic|12"}},
        // A name with two dots is judged by its first dot: MY.LOGO.GRF has the extension .LOG.
        {"two dots", 0, "- DIR R:*.*\r\n* R:MY.LOGO.GRF 500\r\n* R:A.GRF 1\r\n", {"RAM|A.GRF|Graphic|1"}},
        {"entries of the other drive", 0, "- DIR R:*.*\r\n* E:LOGO.GRF 12\r\n", {}},
        {"no entry", 0, "- DIR R:*.*\r\n-  123456 bytes free\r\n", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const ListResult list = queryList(kdxz(), c.selector, 0, c.reply);
        ASSERT_TRUE(list.ok);
        EXPECT_EQ(list.count, static_cast<int32_t>(c.records.size()));
        EXPECT_EQ(list.records, c.records);
    }
}

TEST(KdxzModule, FileListRefusals) {
    struct Case {
        const char *what;
        uint8_t selector, kind;
        const char *reply;
    };
    const Case cases[] = {
        {"no directory marker, though it lists entries", 0, 0, "* R:LOGO.GRF 12\r\n-  99 bytes free\r\n"},
        {"an entry without a dot", 0, 0, "- DIR R:*.*\r\n* R:NODOT 12\r\n"},
        {"an entry without a line end", 0, 0, "- DIR R:*.*\r\n* R:LOGO.GRF 12"},
        {"kind 1", 0, 1, "- DIR R:*.*\r\n* R:LOGO.GRF 12\r\n"},
        {"kind 2", 0, 2, "- DIR R:*.*\r\n* R:LOGO.GRF 12\r\n"},
        {"selector 2", 2, 0, "- DIR R:*.*\r\n* R:LOGO.GRF 12\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const ListResult list = queryList(kdxz(), c.selector, c.kind, c.reply);
        EXPECT_FALSE(list.ok);
        EXPECT_EQ(list.count, kLengthSentinel);
    }
}

TEST(KdxzModule, DeleteNamesEveryFileOnItsDrive) {
    ScopedEnv codePage("KDX_CODEPAGE", "936");
    const FileRecord records[] = {
        fileRecord(u"RAM", u"LOGO.GRF", u"Graphic", u"1234"), fileRecord(u"FLASH", u"宋体.TTF", u"Font", u"5000"),
        fileRecord(u"ram", u"PIC.BMP", u"Graphic", u"10"),  // only "RAM" means RAM
    };
    OutBuffer out;
    ASSERT_TRUE(kdxz().GetFileDelCmd(records, 3, out.data(), out.length()));
    EXPECT_BYTES("^XA\r\n^IDR:LOGO.GRF^FS\r\n^IDE:" + kSongTi + ".TTF^FS\r\n^IDE:PIC.BMP^FS\r\n^XZ\r\n", out.written());
}

TEST(KdxzModule, FormatOfRamDeletesTheListedFiles) {
    const FileRecord records[] = {
        fileRecord(u"RAM", u"LOGO.GRF", u"Graphic"),
        fileRecord(u"RAM", u"ARIAL.TTF", u"Font"),
    };
    OutBuffer out;
    ASSERT_TRUE(kdxz().GetFileFormatCmd(records, 2, out.data(), out.length()));
    EXPECT_BYTES("^XA\r\n^IDR:LOGO.GRF^FS\r\n^IDR:ARIAL.TTF^FS\r\n^XZ\r\n", out.written());
}

TEST(KdxzModule, FormatOfFlashErasesTheDrive) {
    const FileRecord records[] = {fileRecord(u"FLASH", u"", u""), fileRecord(u"RAM", u"LOGO.GRF", u"Graphic")};
    OutBuffer out;
    ASSERT_TRUE(kdxz().GetFileFormatCmd(records, 2, out.data(), out.length()));
    EXPECT_BYTES("^XA\r\n^JBE\r\n^XZ", out.written());
}

TEST(KdxzModule, FormatOfRamBeyondTheCommandCapacityIsRefused) {
    const std::vector<FileRecord> many(300, fileRecord(u"RAM", std::u16string(259, u'N'), u"Graphic"));
    OutBuffer out;
    EXPECT_FALSE(kdxz().GetFileFormatCmd(many.data(), 300, out.data(), out.length()));
    EXPECT_TRUE(out.untouched());
}

Bytes printCommand(const FileRecord &record, const PrintInput &print) {
    const PrintSetting setting = print.view();
    OutBuffer out;
    kdxz().GetFilePrintCmd(&record, &setting, out.data(), out.length());
    EXPECT_TRUE(out.withinRoom());
    return out.written();
}

TEST(KdxzModule, FontTestPrintSendsItsTextAsUtf8) {
    PrintInput print;
    print.x = u"99";  // the label position is fixed
    print.y = u"77";
    EXPECT_BYTES("^XA\r\n^CWJ,E:ARIAL.TTF\r\n^CI28\r\n^CFJ,16,16\r\n^FO20,150\r\n^FDI am test string!^FS\r\n^XZ\r\n",
                 printCommand(fileRecord(u"FLASH", u"ARIAL.TTF", u"Font"), print));

    ScopedEnv codePage("KDX_CODEPAGE", "936");
    print.testText = u"测试";
    EXPECT_BYTES(
        "^XA\r\n^CWJ,R:" + kSongTi + ".TTF\r\n^CI28\r\n^CFJ,16,16\r\n^FO20,150\r\n^FD" + kCeShiUtf8 + "^FS\r\n^XZ\r\n",
        printCommand(fileRecord(u"RAM", u"宋体.TTF", u"Font"), print));
}

TEST(KdxzModule, GraphicTestPrintPlacesTheImage) {
    EXPECT_BYTES("^XA\r\n^FO20,150\r\n^IME:LOGO.GRF^FS\r\n^XZ\r\n",
                 printCommand(fileRecord(u"FLASH", u"LOGO.GRF", u"Graphic"), PrintInput{}));
    EXPECT_BYTES("^XA\r\n^FO20,150\r\n^IMR:PIC.BMP^FS\r\n^XZ\r\n",
                 printCommand(fileRecord(u"RAM", u"PIC.BMP", u"Graphic"), PrintInput{}));
}

TEST(KdxzModule, TestTextOfMoreThan1000Utf8BytesIsRefused) {
    struct Case {
        const char *what;
        std::u16string text;
        std::size_t utf8Bytes;
        bool sent;
    };
    const Case cases[] = {
        {"1,000 ASCII bytes", std::u16string(1000, u'x'), 1000, true},
        {"1,001 ASCII bytes", std::u16string(1001, u'x'), 1001, false},
        {"333 Chinese characters", std::u16string(333, u'测'), 999, true},
        {"334 Chinese characters", std::u16string(334, u'测'), 1002, false},
    };
    const FileRecord record = fileRecord(u"FLASH", u"ARIAL.TTF", u"Font");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        PrintInput print;
        print.testText = c.text;
        const PrintSetting setting = print.view();
        OutBuffer out;
        kdxz().GetFilePrintCmd(&record, &setting, out.data(), out.length());
        EXPECT_TRUE(out.withinRoom());
        if (c.sent) {
            EXPECT_EQ(static_cast<std::size_t>(out.reported()), 66 + c.utf8Bytes);
        } else {
            EXPECT_EQ(out.reported(), 0);
            EXPECT_EQ(out.data()[0], kSentinelByte);
        }
    }
}

}  // namespace
}  // namespace kdxtest
