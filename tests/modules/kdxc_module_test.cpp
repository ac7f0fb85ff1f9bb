// The KDXC module: every download is one file frame with a hexadecimal size and a checksum,
// storage is FLASH only, and font test prints send their text as UTF-8.
#include <string>
#include <vector>

#include "module_test_support.h"

namespace kdxtest {
namespace {

const Procedures &kdxc() { return procedures("KDXC"); }

const uint8_t *bytes(const Bytes &b) { return reinterpret_cast<const uint8_t *>(b.data()); }

Bytes graphicStream(const Bytes &payload, const char16_t *name = u"LOGO", uint8_t selector = 1) {
    int32_t bound = 0;
    const auto size = static_cast<int32_t>(payload.size());
    kdxc().GetGraphicDataLength(name, size, &bound);
    EXPECT_EQ(bound, size + 100);
    OutBuffer out(static_cast<std::size_t>(bound));
    EXPECT_TRUE(kdxc().GetGraphicData(name, u"PCX", selector, bytes(payload), size, 0, 0, out.data(), out.length()));
    EXPECT_TRUE(out.withinRoom());
    return out.written();
}

TEST(KdxcModule, GraphicIsFramedWithSizeAndChecksum) {
    const Bytes payload(300, '\x01');  // sums to 300 = 0x012C, so the checksum is 0xFED4
    EXPECT_BYTES("! CISDF\r\nLOGO.PCX\r\n0000012C\r\nFED4\r\n" + payload, graphicStream(payload));
}

TEST(KdxcModule, ChecksumIsTheTwosComplementOfTheByteSum) {
    struct Case {
        const char *what;
        Bytes data;
        const char *sizeAndChecksum;
    };
    const Case cases[] = {
        {"abc", "abc", "00000003\r\nFEDA"},
        {"a sum of 65,536", repeat(raw({0xFF}), 257) + raw({0x01}), "00000102\r\n0000"},
        {"a sum beyond 65,536", repeat(raw({0xFF}), 300), "0000012C\r\nD52C"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_BYTES("! CISDF\r\nLOGO.PCX\r\n" + Bytes(c.sizeAndChecksum) + "\r\n" + c.data, graphicStream(c.data));
    }
}

TEST(KdxcModule, GraphicIgnoresTheSelector) {
    const Bytes payload = "abc";
    for (uint8_t selector : {0, 1, 7})
        EXPECT_BYTES("! CISDF\r\nLOGO.PCX\r\n00000003\r\nFEDA\r\nabc", graphicStream(payload, u"LOGO", selector));
}

TEST(KdxcModule, GraphicRefusesFormatsOtherThanPcx) {
    const Bytes payload = pattern(30);
    for (const char16_t *format : {u"BMP", u"pcx", u"GRF"}) {
        OutBuffer out(130);
        EXPECT_FALSE(kdxc().GetGraphicData(u"LOGO", format, 1, bytes(payload), 30, 0, 0, out.data(), out.length()));
        EXPECT_TRUE(out.untouched());
    }
}

TEST(KdxcModule, TrueTypeFileIsFramedUnderItsName) {
    const Bytes file = "abc";
    for (uint8_t selector : {0, 1}) {
        int32_t bound = 0;
        kdxc().GetTtfFontLength(u"ARIAL", 3, &bound);
        EXPECT_EQ(bound, 103);
        OutBuffer out(static_cast<std::size_t>(bound));
        kdxc().GetTtfFontData(u"ARIAL", selector, bytes(file), 3, out.data(), out.length());
        EXPECT_TRUE(out.withinRoom());
        EXPECT_BYTES("! CISDF\r\nARIAL.TTF\r\n00000003\r\nFEDA\r\nabc", out.written());
    }
}

TEST(KdxcModule, BitmapFontIsStoredInFlashOnly) {
    BitmapFont font;
    font.table = CodeTable::unicode({{0x41, 2}});
    font.selectAll();
    font.fixedCells(8, 2);
    font.setting.memory = 0;
    const FontBuild ram = buildFont(kdxc(), font);  // checks that nothing was written
    EXPECT_FALSE(ram.ok);

    font.setting.memory = 1;
    const FontBuild flash = buildFont(kdxc(), font);
    ASSERT_TRUE(flash.ok);
    const Bytes stream = flash.stream();
    const Bytes frameHead = "! CISDF\r\nFONT.FNT\r\n0000004C\r\n";  // a payload of 76 bytes
    EXPECT_BYTES(frameHead, stream.substr(0, frameHead.size()));
    EXPECT_EQ(stream.size(), frameHead.size() + 6 + 76);
    EXPECT_EQ(flash.bound, 100 + 64 + 4 * 2 + 2 * 2);
}

TEST(KdxcModule, QueriesAreTheFlashDirectory) {
    OutBuffer mem, query;
    ASSERT_TRUE(kdxc().GetModuleMemCmd(1, mem.data(), mem.length()));
    EXPECT_BYTES("! U1 DIR\r\n", mem.written());
    ASSERT_TRUE(kdxc().GetFileQueryCmd(1, 0, query.data(), query.length()));
    EXPECT_BYTES("! U1 DIR\r\n", query.written());

    OutBuffer ramMem;
    EXPECT_FALSE(kdxc().GetModuleMemCmd(0, ramMem.data(), ramMem.length()));
    EXPECT_TRUE(ramMem.untouched());
    struct Case {
        uint8_t selector, kind;
    };
    for (Case c : {Case{0, 0}, Case{1, 1}, Case{1, 2}}) {
        OutBuffer refused;
        EXPECT_FALSE(kdxc().GetFileQueryCmd(c.selector, c.kind, refused.data(), refused.length()));
        EXPECT_TRUE(refused.untouched());
    }
}

const char *const kListing =
    "LOGO.PCX    300\r\n"
    " ARIAL.TTF  56789\r\n"
    "FONT.FNT 1234\r\n"
    "PIC.BMP 10\r\n"
    "*.* 0\r\n"
    "README\r\n"
    "  1048576 Bytes Free\r\n";

TEST(KdxcModule, FreeMemoryPrecedesBytesFree) {
    struct Case {
        const char *what;
        uint8_t selector;
        const char *reply;
        bool ok;
        int64_t freeBytes;
    };
    const Case cases[] = {
        {"listing", 1, kListing, true, 1048576},
        {"RAM", 0, kListing, false, 0},
        {"no Bytes Free", 1, "LOGO.PCX 300\r\n1048576 bytes free\r\n", false, 0},
        {"no line before the count", 1, "1048576 Bytes Free\r\n", false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        int64_t freeBytes = -5;
        EXPECT_EQ(kdxc().GetModuleMemLen(c.selector, c.reply, &freeBytes), c.ok);
        EXPECT_EQ(freeBytes, c.ok ? c.freeBytes : -5);
    }
}

TEST(KdxcModule, FileListReadsOneFilePerLine) {
    const ListResult list = queryList(kdxc(), 1, 0, kListing);
    ASSERT_TRUE(list.ok);
    EXPECT_EQ(list.records,
              (std::vector<std::string>{"FLASH|LOGO.PCX|Graphic|300", "FLASH|ARIAL.TTF|True Type Font|56789",
                                        "FLASH|FONT.FNT|Bitmap Font|1234"}));
    EXPECT_EQ(list.count, 3);
}

TEST(KdxcModule, FileListRefusals) {
    struct Case {
        const char *what;
        uint8_t selector, kind;
        const char *reply;
    };
    const Case cases[] = {
        {"no Bytes Free, though it lists files", 1, 0, "LOGO.PCX 300\r\nFONT.FNT 1234\r\n"},
        {"RAM", 0, 0, kListing},
        {"kind 1", 1, 1, kListing},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const ListResult list = queryList(kdxc(), c.selector, c.kind, c.reply);
        EXPECT_FALSE(list.ok);
        EXPECT_EQ(list.count, kLengthSentinel);
    }
}

TEST(KdxcModule, DeleteAndFormatRemoveEveryGivenFile) {
    const FileRecord records[] = {
        fileRecord(u"FLASH", u"LOGO.PCX", u"Graphic", u"300"),
        fileRecord(u"FLASH", u"FONT.FNT", u"Bitmap Font", u"1234"),
    };
    const Bytes expected = "! U1 DEL LOGO.PCX\r\n! U1 DEL FONT.FNT\r\n";
    OutBuffer del, format;
    ASSERT_TRUE(kdxc().GetFileDelCmd(records, 2, del.data(), del.length()));
    EXPECT_BYTES(expected, del.written());
    ASSERT_TRUE(kdxc().GetFileFormatCmd(records, 2, format.data(), format.length()));
    EXPECT_BYTES(expected, format.written());
}

TEST(KdxcModule, FormatBeyondTheCommandCapacityIsRefused) {
    const std::vector<FileRecord> many(300, fileRecord(u"FLASH", std::u16string(259, u'N'), u"Graphic"));
    OutBuffer out;
    EXPECT_FALSE(kdxc().GetFileFormatCmd(many.data(), 300, out.data(), out.length()));
    EXPECT_TRUE(out.untouched());
}

Bytes printCommand(const FileRecord &record, const PrintInput &print, OutBuffer &out) {
    const PrintSetting setting = print.view();
    kdxc().GetFilePrintCmd(&record, &setting, out.data(), out.length());
    EXPECT_TRUE(out.withinRoom());
    return out.written();
}

Bytes printCommand(const FileRecord &record, const PrintInput &print = PrintInput{}) {
    OutBuffer out;
    return printCommand(record, print, out);
}

const Bytes kLabelStart = "\r\n! 0 200 200 300 1\r\n";

TEST(KdxcModule, TestPrintByFileType) {
    PrintInput print;
    print.x = u"25";
    print.y = u" 4 0";
    print.testText = u"测试";
    const Bytes utf8 = raw({0xE6, 0xB5, 0x8B, 0xE8, 0xAF, 0x95});
    EXPECT_BYTES(kLabelStart + "PCX 25 40 !<LOGO.PCX\r\nPRINT\r\n",
                 printCommand(fileRecord(u"FLASH", u"LOGO.PCX", u"Graphic"), print));
    EXPECT_BYTES(kLabelStart + "ENCODING UTF-8\r\nST ARIAL.TTF 10 10 50 50 " + utf8 + "\r\nPRINT\r\n",
                 printCommand(fileRecord(u"FLASH", u"ARIAL.TTF", u"True Type Font"), print));
    EXPECT_BYTES(kLabelStart + "ENCODING UTF-8\r\nT FONT.FNT 00 50 50 " + utf8 + "\r\nPRINT\r\n",
                 printCommand(fileRecord(u"FLASH", u"FONT.FNT", u"Bitmap Font"), print));
}

TEST(KdxcModule, TestPrintNameIsInTheCodePageAndTextInUtf8) {
    ScopedEnv codePage("KDX_CODEPAGE", "936");
    PrintInput print;
    print.testText = u"宋体";
    EXPECT_BYTES(kLabelStart + "ENCODING UTF-8\r\nT " + raw({0xCB, 0xCE, 0xCC, 0xE5}) + ".FNT 00 50 50 " +
                     raw({0xE5, 0xAE, 0x8B, 0xE4, 0xBD, 0x93}) + "\r\nPRINT\r\n",
                 printCommand(fileRecord(u"FLASH", u"宋体.FNT", u"Bitmap Font"), print));
}

TEST(KdxcModule, TestTextOfMoreThan1000Utf8BytesIsRefused) {
    struct Case {
        const char *what;
        std::u16string text;
        bool sent;
    };
    const Case cases[] = {
        {"1,000 bytes", std::u16string(1000, u'x'), true},
        {"1,001 bytes", std::u16string(1001, u'x'), false},
        {"334 Chinese characters", std::u16string(334, u'测'), false},
    };
    for (const char16_t *type : {u"True Type Font", u"Bitmap Font"}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(c.what);
            PrintInput print;
            print.testText = c.text;
            OutBuffer out;
            printCommand(fileRecord(u"FLASH", u"F.TTF", type), print, out);
            if (c.sent) {
                EXPECT_GT(out.reported(), 1000);
            } else {
                EXPECT_EQ(out.reported(), 0);
                EXPECT_EQ(out.data()[0], kSentinelByte);
            }
        }
    }
}

}  // namespace
}  // namespace kdxtest
