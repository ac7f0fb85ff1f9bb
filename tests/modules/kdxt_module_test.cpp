// The KDXT module's own commands: its graphic formats, listing types, file management lines and
// test prints. Downloads and queries shared with KDXZ are tested alongside KDXZ.
#include <string>
#include <vector>

#include "module_test_support.h"

namespace kdxtest {
namespace {

const Procedures &kdxt() { return procedures("KDXT"); }

TEST(KdxtModule, GraphicRefusesCompressedFormats) {
    const Bytes payload = pattern(30);
    for (const char16_t *format : {u"GRF", u"PNG", u"Bmp"}) {
        OutBuffer out(130);
        EXPECT_FALSE(kdxt().GetGraphicData(u"LOGO", format, 0, reinterpret_cast<const uint8_t *>(payload.data()), 30, 0,
                                           0, out.data(), out.length()));
        EXPECT_TRUE(out.untouched());
    }
}

TEST(KdxtModule, FileListReadsBmpPcxAndTrueTypeFiles) {
    const char *reply =
        "- DIR E:*.*\r\n* E:LOGO.BMP 1234\r\n* E:PIC.PCX 300\r\n* E:ARIAL.TTF 56789\r\n* E:LOGO.GRF 10\r\n"
        "* E:ICON.PNG 20\r\n-  123456 bytes free\r\n";
    const ListResult list = queryList(kdxt(), 1, 0, reply);
    ASSERT_TRUE(list.ok);
    EXPECT_EQ(list.records, (std::vector<std::string>{"FLASH|LOGO.BMP|Graphic|1234", "FLASH|PIC.PCX|Graphic|300",
                                                      "FLASH|ARIAL.TTF|Font|56789"}));
    EXPECT_EQ(list.count, 3);
}

TEST(KdxtModule, FileListNeedsTheDirectoryMarker) {
    const ListResult list = queryList(kdxt(), 0, 0, "* R:LOGO.BMP 1234\r\n");
    EXPECT_FALSE(list.ok);
    EXPECT_EQ(list.count, kLengthSentinel);
    const ListResult wrongKind = queryList(kdxt(), 0, 1, "- DIR R:*.*\r\n* R:LOGO.BMP 1234\r\n");
    EXPECT_FALSE(wrongKind.ok);
}

TEST(KdxtModule, DeleteWritesOneKillLinePerFile) {
    const FileRecord records[] = {
        fileRecord(u"RAM", u"ARIAL.TTF", u"Font"),
        fileRecord(u"FLASH", u"LOGO.BMP", u"Graphic"),
    };
    OutBuffer out;
    ASSERT_TRUE(kdxt().GetFileDelCmd(records, 2, out.data(), out.length()));
    EXPECT_BYTES("KILL \"ARIAL.TTF\"\r\nKILL F,\"LOGO.BMP\"\r\n", out.written());
}

TEST(KdxtModule, FormatKillsEveryFileOfTheFirstRecordsMemory) {
    struct Case {
        const char16_t *memory;
        Bytes expected;
    };
    for (const Case &c : {Case{u"RAM", "KILL \"*\"\r\n"}, Case{u"FLASH", "KILL F,\"*\"\r\n"}}) {
        const FileRecord records[] = {fileRecord(c.memory, u"A.BMP", u"Graphic"),
                                      fileRecord(u"RAM", u"B.BMP", u"Graphic")};
        OutBuffer out;
        ASSERT_TRUE(kdxt().GetFileFormatCmd(records, 2, out.data(), out.length()));
        EXPECT_BYTES(c.expected, out.written());
    }
}

Bytes printCommand(const FileRecord &record, const PrintInput &print, OutBuffer &out) {
    const PrintSetting setting = print.view();
    kdxt().GetFilePrintCmd(&record, &setting, out.data(), out.length());
    EXPECT_TRUE(out.withinRoom());
    return out.written();
}

Bytes printCommand(const FileRecord &record, const PrintInput &print = PrintInput{}) {
    OutBuffer out;
    return printCommand(record, print, out);
}

TEST(KdxtModule, FontTestPrintWritesTextAtThePosition) {
    EXPECT_BYTES("CODEPAGE 437\r\nCLS\r\nTEXT 10,10,\"ARIAL.TTF\",0,1,1,\"I am test string!\"\r\nPRINT 1\r\n",
                 printCommand(fileRecord(u"FLASH", u"ARIAL.TTF", u"Font")));
}

TEST(KdxtModule, PositionIsReadAsANumber) {
    struct Case {
        std::u16string x, y;
        Bytes position;
    };
    const Case cases[] = {
        {u"25", u"40", "25,40"},
        {u" 1 5", u"4 0", "15,40"},  // spaces are dropped before the number is read
        {u"-3", u"12mm", "-3,12"},
        {u"abc", u"", "0,0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.position);
        PrintInput print;
        print.x = c.x;
        print.y = c.y;
        EXPECT_BYTES("CLS\r\nPUTBMP " + c.position + ",\"LOGO.BMP\"\r\nPRINT 1\r\n",
                     printCommand(fileRecord(u"FLASH", u"LOGO.BMP", u"Graphic"), print));
    }
}

TEST(KdxtModule, FontTestPrintCodePageFollowsTheSystemLanguage) {
    struct Case {
        const char *languageId;
        const char *codePage;
    };
    const Case cases[] = {{"2052", "936"}, {"1028", "950"}, {"1041", "932"}, {"1042", "949"},
                          {"1033", "437"}, {"3076", "437"}, {"1049", "437"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.languageId);
        ScopedEnv language("KDX_LANGID", c.languageId);
        const Bytes command = printCommand(fileRecord(u"RAM", u"FONT", u"Font"));
        const Bytes head = "CODEPAGE " + Bytes(c.codePage) + "\r\nCLS\r\n";
        EXPECT_BYTES(head, command.substr(0, head.size()));
    }
}

TEST(KdxtModule, SystemLanguageComesFromTheLocaleWhenNotSet) {
    ScopedEnv language("KDX_LANGID", nullptr);
    ScopedEnv all("LC_ALL", "ja_JP.UTF-8");
    const Bytes command = printCommand(fileRecord(u"RAM", u"FONT", u"Font"));
    EXPECT_BYTES("CODEPAGE 932\r\n", command.substr(0, 14));
}

TEST(KdxtModule, TestTextIsInTheCodePage) {
    {
        ScopedEnv codePage("KDX_CODEPAGE", "936");
        PrintInput print;
        print.testText = u"测试";
        EXPECT_BYTES("CODEPAGE 437\r\nCLS\r\nTEXT 10,10,\"" + raw({0xCB, 0xCE, 0xCC, 0xE5}) + "\",0,1,1,\"" +
                         raw({0xB2, 0xE2, 0xCA, 0xD4}) + "\"\r\nPRINT 1\r\n",
                     printCommand(fileRecord(u"FLASH", u"宋体", u"Font"), print));
    }
    PrintInput print;
    print.testText = u"café";
    EXPECT_BYTES("CODEPAGE 437\r\nCLS\r\nTEXT 10,10,\"F\",0,1,1,\"caf" + raw({0xE9}) + "\"\r\nPRINT 1\r\n",
                 printCommand(fileRecord(u"FLASH", u"F", u"Font"), print));
}

TEST(KdxtModule, GraphicTestPrintPutsTheUpperCasedExtension) {
    EXPECT_BYTES("CLS\r\nPUTBMP 10,10,\"LOGO.bmp\"\r\nPRINT 1\r\n",
                 printCommand(fileRecord(u"FLASH", u"LOGO.bmp", u"Graphic")));
    EXPECT_BYTES("CLS\r\nPUTPCX 10,10,\"PIC.PCX\"\r\nPRINT 1\r\n",
                 printCommand(fileRecord(u"RAM", u"PIC.PCX", u"Graphic")));
}

// Everything after the first dot is the extension, so MY.LOGO.PCX cannot be printed.
TEST(KdxtModule, GraphicTestPrintOfOtherExtensionsReportsNothing) {
    for (const char16_t *name : {u"MY.LOGO.PCX", u"LOGO.GRF", u"NODOT"}) {
        OutBuffer out;
        printCommand(fileRecord(u"FLASH", name, u"Graphic"), PrintInput{}, out);
        EXPECT_EQ(out.reported(), 0);
        EXPECT_EQ(out.data()[0], kSentinelByte);
    }
}

}  // namespace
}  // namespace kdxtest
