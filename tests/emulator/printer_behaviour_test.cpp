// Behaviour of the emulated printer that the modules' streams alone do not reach: data
// files, corrupt or cut streams, replacement of objects, several printers at once, the
// stream records and the decoders of encoded payloads.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "emulator_client.h"
#include "language_traits.h"
#include "memory_store.h"
#include "payload_codecs.h"

namespace emulator_test {
namespace {

using emulator::Memory;
using emulator::ObjectKind;

std::unique_ptr<emulator::Printer> start(const std::string &language, uint64_t ram = 1 << 20, uint64_t flash = 1 << 20) {
    emulator::Options options;
    options.language = language;
    options.ramBytes = ram;
    options.flashBytes = flash;
    return std::make_unique<emulator::Printer>(options);
}

struct DataFileCase {
    std::string stream;
    Memory memory;
    std::string name;
    std::string stored;
};

TEST(DataFile, HexadecimalTextIsStoredAsItsBytes) {
    const DataFileCase cases[] = {
        {"~DER:CODE.DAT,2,4142", Memory::Ram, "CODE.DAT", "AB"},
        {"~DEE:MAP.DAT,3,414243", Memory::Flash, "MAP.DAT", "ABC"},
        // An odd digit count: the size is rounded down and the last digit is skipped.
        {"~DER:ODD.DAT,3,4142434", Memory::Ram, "ODD.DAT", "ABC"},
        {"~DER:NONE.DAT,0,", Memory::Ram, "NONE.DAT", ""},
    };
    for (const DataFileCase &c : cases) {
        auto printer = start("KDXZ");
        const std::string reply = query(*printer, c.stream + "^XA^HWR:*.*^XZ");
        const auto stored = printer->object(c.memory, c.name);
        ASSERT_TRUE(stored) << c.stream;
        EXPECT_EQ(stored->kind, ObjectKind::DataFile);
        EXPECT_EQ(stored->data, c.stored);
        EXPECT_NE(reply.find("bytes free"), std::string::npos) << "the query after it is answered";
    }
}

TEST(DataFile, NonHexadecimalTextIsRejected) {
    auto printer = start("KDXZ");
    deliver(*printer, "~DER:BAD.DAT,2,41 G");
    EXPECT_FALSE(printer->object(Memory::Ram, "BAD.DAT"));
    ASSERT_EQ(printer->rejections().size(), 1u);
    EXPECT_EQ(printer->rejections()[0].object, "BAD.DAT");
}

TEST(FileFrame, BadChecksumIsRejectedAndTheNextFrameIsStored) {
    auto printer = start("KDXC");
    // "abc" sums to 0x126; its checksum is 0x10000 - 0x126 = FEDA.
    const std::string good = "! CISDF\r\nGOOD.PCX\r\n00000003\r\nFEDA\r\nabc";
    const std::string bad = "! CISDF\r\nBAD.PCX\r\n00000003\r\nFEDB\r\nabc";
    deliver(*printer, bad + good);
    EXPECT_FALSE(printer->object(Memory::Flash, "BAD.PCX"));
    ASSERT_TRUE(printer->object(Memory::Flash, "GOOD.PCX"));
    EXPECT_EQ(printer->object(Memory::Flash, "GOOD.PCX")->data, "abc");
    ASSERT_EQ(printer->rejections().size(), 1u);
    EXPECT_EQ(printer->rejections()[0].reason, "bad checksum");
}

TEST(FileFrame, ABitmapFontWhoseHeaderContradictsItsSizeIsRejected) {
    auto printer = start("KDXC");
    std::string payload(60, '\0');
    payload[0] = 56;
    payload[52] = 61;  // the header claims 61 bytes, the frame carries 60
    uint32_t sum = 56 + 61;
    char checksum[5];
    std::snprintf(checksum, sizeof checksum, "%04X", (0x10000 - sum) & 0xFFFF);
    deliver(*printer, "! CISDF\r\nFONT.FNT\r\n0000003C\r\n" + std::string(checksum) + "\r\n" + payload);
    EXPECT_FALSE(printer->object(Memory::Flash, "FONT.FNT"));
    ASSERT_EQ(printer->rejections().size(), 1u);
    EXPECT_NE(printer->rejections()[0].reason.find("61"), std::string::npos);
}

TEST(CutStreams, AStreamEndingInsideACommandIsReportedAndStoresNothing) {
    struct Case {
        const char *language;
        std::string stream;
    };
    const Case cases[] = {
        {"KDXZ", "~DYE:LOGO,B,B,100,,only a part"},
        {"KDXT", "~DYR:LOGO,B,X,100,,only a part"},
        {"KDXA", std::string("\x01" "D\r\n\x02" "IABLOGO\rBM") + std::string("\x40\x00\x00\x00", 4)},
        {"KDXC", "! CISDF\r\nLOGO.PCX\r\n00000064\r\n0000\r\npart"},
        {"KDXE", "GM\"LOGO\"100\r\npart"},
    };
    for (const Case &c : cases) {
        auto printer = start(c.language);
        deliver(*printer, c.stream);
        EXPECT_TRUE(printer->objects(Memory::Ram).empty() && printer->objects(Memory::Flash).empty()) << c.language;
        ASSERT_EQ(printer->rejections().size(), 1u) << c.language;
        EXPECT_NE(printer->rejections()[0].reason.find("ended inside a command"), std::string::npos);
    }
}

TEST(CutStreams, NoiseBeforeACommandIsSkipped) {
    struct Case {
        const char *language;
        std::string noise;
        std::string query;
        std::string marker;
    };
    const Case cases[] = {
        {"KDXZ", "garbage 123 ", "^XA^HWE:*.*^XZ", "bytes free"},
        {"KDXT", "NOT A COMMAND\r\n", "^XA^HWE:*.*^XZ", "bytes free"},
        {"KDXA", "junk", "\x02WF", "AVAILABLE"},
        {"KDXC", "! U1 SOMETHING ELSE\r\n", "! U1 DIR\r\n", "Bytes Free"},
        {"KDXE", "Q123,24\r\n", "UE\r\n", "0\r\n"},
    };
    for (const Case &c : cases) {
        auto printer = start(c.language);
        EXPECT_NE(query(*printer, c.noise + c.query).find(c.marker), std::string::npos) << c.language;
    }
}

TEST(Storage, ADownloadOfTheSameNameReplacesTheOldObject) {
    auto printer = start("KDXZ", 30);
    deliver(*printer, "~DYR:LOGO,B,B,20,,01234567890123456789");
    deliver(*printer, "~DYR:LOGO,B,B,25,,0123456789012345678901234");
    const auto objects = printer->objects(Memory::Ram);
    ASSERT_EQ(objects.size(), 1u) << "the second fits because it replaces the first";
    EXPECT_EQ(objects[0].size(), 25u);
    EXPECT_EQ(printer->freeBytes(Memory::Ram), 5u);
}

TEST(Storage, WildcardsDeleteEveryMatch) {
    auto printer = start("KDXZ");
    for (const char *name : {"A1.GRF", "A2.GRF", "B1.GRF"})
        ASSERT_TRUE(printer->addObject(Memory::Flash, {name, ObjectKind::Graphic, "GRF", "xx"}));
    deliver(*printer, "^XA^IDE:A*.GRF^FS^XZ");
    const auto left = printer->objects(Memory::Flash);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].name, "B1.GRF");
}

TEST(Storage, KdxeAndKdxaKeepFontsAndGraphicsApart) {
    auto printer = start("KDXE");
    ASSERT_TRUE(printer->addObject(Memory::Flash, {"a", ObjectKind::BitmapFont, "", "font"}));
    ASSERT_TRUE(printer->addObject(Memory::Flash, {"a", ObjectKind::Graphic, "PCX", "graphic"}));
    EXPECT_EQ(printer->objects(Memory::Flash).size(), 2u);
    deliver(*printer, "GK\"*\"\r\n");
    const auto left = printer->objects(Memory::Flash);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].kind, ObjectKind::BitmapFont);
}

TEST(Printers, SeveralRunAtOnceEachOnItsOwnPort) {
    std::vector<std::unique_ptr<emulator::Printer>> printers;
    for (const LanguageTraits &traits : allLanguages()) printers.push_back(start(traits.language));
    for (size_t i = 0; i < printers.size(); ++i)
        for (size_t j = i + 1; j < printers.size(); ++j) EXPECT_NE(printers[i]->port(), printers[j]->port());
    // Every printer keeps a connection open while the others are asked.
    std::vector<TcpClient> clients;
    for (auto &printer : printers) clients.emplace_back(printer->port());
    const char *queries[] = {"^XA^HWR:*.*^XZ", "^XA^HWR:*.*^XZ", "\x02WF", "! U1 DIR\r\n", "^XA^HWE:*.*^XZ"};
    const char *markers[] = {"DIR R:", "DIR R:", "MODULE", "Bytes Free", "-   "};
    for (size_t i = 0; i < printers.size(); ++i)
        EXPECT_NE(exchange(*printers[i], clients[i], queries[i]).find(markers[i]), std::string::npos) << printers[i]->language();
}

TEST(Printers, StoppingClosesThePort) {
    auto printer = start("KDXZ");
    const uint16_t port = printer->port();
    EXPECT_EQ(connectError(port), 0);
    printer->stop();
    printer->stop();
    EXPECT_EQ(connectError(port), ECONNREFUSED);
}

TEST(Printers, NonLoopbackHostsAndUnknownLanguagesAreRefused) {
    for (const char *host : {"192.0.2.1", "0.0.0.0", "::", "printer.example", "128.0.0.1"}) {
        emulator::Options options;
        options.host = host;
        EXPECT_THROW(emulator::Printer{options}, emulator::EmulatorError) << host;
    }
    for (const char *host : {"127.0.0.1", "127.5.6.7", "localhost", "::1", "[::1]"}) {
        emulator::Options options;
        options.host = host;
        emulator::Printer printer(options);
        EXPECT_NE(printer.port(), 0) << host;
    }
    emulator::Options options;
    options.language = "KDXQ";
    EXPECT_THROW(emulator::Printer{options}, emulator::EmulatorError);
}

TEST(Records, EachConnectionIsOneReceivedStream) {
    auto printer = start("KDXZ");
    deliver(*printer, "first");
    deliver(*printer, std::string("se\0cond", 7));
    EXPECT_EQ(printer->receivedStreams(), (std::vector<std::string>{"first", std::string("se\0cond", 7)}));
    EXPECT_EQ(printer->finishedConnections(), 2u);
}

TEST(Records, LogFolderGetsOneNumberedFilePerConnection) {
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / "emulator-log-test";
    std::filesystem::remove_all(folder);
    {
        emulator::Options options;
        options.logDir = folder;
        emulator::Printer printer(options);
        deliver(printer, "one");
        deliver(printer, "two");
    }
    auto read = [&](const char *file) {
        std::ifstream in(folder / file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(read("0001.bin"), "one");
    EXPECT_EQ(read("0002.bin"), "two");
    {
        // A later printer goes on after the numbers already there.
        emulator::Options options;
        options.logDir = folder;
        emulator::Printer printer(options);
        deliver(printer, "three");
    }
    EXPECT_EQ(read("0003.bin"), "three");
    std::filesystem::remove_all(folder);
}

struct GrfCase {
    std::string text;
    uint64_t total, rowBytes;
    std::string rows;  // empty: bad data
};

TEST(GrfDecoding, RepeatCountsAndRowFillsExpand) {
    const GrfCase cases[] = {
        {"FF00", 2, 2, std::string("\xFF\x00", 2)},
        {"GFH0", 1, 1, std::string("\xF0", 1)},          // G = 1, H = 2
        {"gF", 10, 10, std::string(10, '\xFF')},            // g = 20 nibbles
        {"hFG0F", 21, 21, std::string(20, '\xFF') + "\x0F"},  // h = 40, then two more
        {"F,!", 4, 2, std::string("\xF0\x00\xFF\xFF", 4)},
        {",:", 4, 2, std::string(4, '\0')},
        {"0F\r\n:", 2, 1, std::string("\x0F\x0F", 2)},
        {"0^", 2, 1, ""},
        {":", 2, 1, ""},
    };
    for (const GrfCase &c : cases) {
        const emulator::GrfDecoding decoded = emulator::decodeGrf(c.text, c.total, c.rowBytes, true);
        if (c.rows.empty()) {
            EXPECT_EQ(decoded.status, emulator::GrfDecoding::Status::Bad) << c.text;
        } else {
            ASSERT_EQ(decoded.status, emulator::GrfDecoding::Status::Complete) << c.text;
            EXPECT_EQ(decoded.rows, c.rows) << c.text;
        }
    }
    EXPECT_EQ(emulator::decodeGrf("FF", 2, 2, false).status, emulator::GrfDecoding::Status::NeedMore);
}

TEST(Base64Decoding, PaddedTextDecodesAndOtherCharactersAreRefused) {
    EXPECT_EQ(emulator::decodeBase64("QUJD"), "ABC");
    EXPECT_EQ(emulator::decodeBase64("QUI="), "AB");
    EXPECT_EQ(emulator::decodeBase64("QQ==\r\n"), "A");
    EXPECT_FALSE(emulator::decodeBase64("QU*D"));
    EXPECT_FALSE(emulator::decodeBase64("QQ==QQ"));
}

TEST(Wildcards, MatchLikeFileNamePatterns) {
    struct Case {
        const char *pattern, *name;
        bool matches;
    };
    for (const Case &c : {Case{"*", "ANY.GRF", true}, Case{"*.*", "LOGO.GRF", true}, Case{"*.*", "NODOT", false},
                          Case{"A?.GRF", "A1.GRF", true}, Case{"A?.GRF", "A12.GRF", false}, Case{"LOGO", "LOGO", true},
                          Case{"LOGO", "logo", false}, Case{"*O*O*", "LOGO", true}, Case{"", "", true}})
        EXPECT_EQ(emulator::wildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
}

TEST(States, NamesReadAndWriteBack) {
    EXPECT_TRUE(emulator::PrinterState::parse("ready").ready());
    EXPECT_EQ(emulator::PrinterState::parse("head-open+paper-out").name(), "paper-out+head-open");
    EXPECT_THROW(emulator::PrinterState::parse("on-fire"), emulator::EmulatorError);
    EXPECT_THROW(emulator::PrinterState::parse("paper-out+"), emulator::EmulatorError);
    for (int i = 0; i < emulator::kConditionCount; ++i) {
        const auto condition = static_cast<emulator::Condition>(i);
        EXPECT_TRUE(emulator::PrinterState::parse(std::string(emulator::conditionName(condition))).has(condition));
    }
}

}  // namespace
}  // namespace emulator_test
