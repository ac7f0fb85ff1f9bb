// Listing, deleting, test-printing and formatting the files of emulated printers.
#include <gtest/gtest.h>

#include "printer_resources.h"
#include "transaction_fixtures.h"
#include "text_codec.h"
#include "wide_text.h"

using namespace transaction_tests;
using emulator::Memory;
using emulator::ObjectKind;

namespace {

emulator::StoredObject object(const std::string &name, ObjectKind kind, const std::string &format = "") {
    return emulator::StoredObject{name, kind, format, std::string(64, 'x')};
}

std::vector<std::string> names(const std::vector<FileRecord> &records) {
    std::vector<std::string> result;
    for (const FileRecord &r : records) result.push_back(kdx::toUtf8(kdx::fieldOf(r.name)));
    return result;
}

std::vector<std::string> storedNames(const emulator::Printer &printer, Memory memory) {
    std::vector<std::string> result;
    for (const auto &stored : printer.objects(memory)) result.push_back(stored.name);
    return result;
}

// How each language names a stored font and graphic in its listing.
struct LanguageCase {
    std::string language, font, graphic;
};

void PrintTo(const LanguageCase &c, std::ostream *out) { *out << c.language; }

class Resources : public ::testing::TestWithParam<LanguageCase> {};

INSTANTIATE_TEST_SUITE_P(Languages, Resources,
                         ::testing::Values(LanguageCase{"KDXZ", "ARIAL.TTF", "LOGO.GRF"},
                                           LanguageCase{"KDXT", "ARIAL.TTF", "LOGO.PCX"},
                                           LanguageCase{"KDXA", "A00", "LOGO"},
                                           LanguageCase{"KDXC", "ARIAL.TTF", "LOGO.PCX"},
                                           LanguageCase{"KDXE", "a", "LOGO"}),
                         [](const auto &info) { return info.param.language; });

emulator::StoredObject fontFor(const LanguageCase &c) {
    const bool bitmap = c.language == "KDXA" || c.language == "KDXE";
    return object(c.font, bitmap ? ObjectKind::BitmapFont : ObjectKind::TrueTypeFont);
}

TEST_P(Resources, ListsFontsBeforeGraphicsAndDeletesWhatIsChosen) {
    const LanguageCase &c = GetParam();
    auto printer = startPrinter(c.language);
    ASSERT_TRUE(printer->addObject(Memory::Flash, fontFor(c)));
    ASSERT_TRUE(printer->addObject(Memory::Flash, object(c.graphic, ObjectKind::Graphic, c.language == "KDXZ" ? "GRF" : "PCX")));
    auto module = loadModule(c.language);
    const auto port = netPort(printer->port());

    glyphmill::FileListing listing = glyphmill::ListPrinterFiles(port, module.get(), "FLASH");
    ASSERT_TRUE(listing.ok);
    ASSERT_EQ(names(listing.records), (std::vector<std::string>{c.font, c.graphic}));
    EXPECT_EQ(kdx::fieldOf(listing.records[0].memory), u"FLASH");

    ASSERT_TRUE(glyphmill::DeleteFiles(port, module.get(), {listing.records[1]}));
    printer->waitUntil([&] { return printer->objects(Memory::Flash).size() == 1; }, std::chrono::seconds(5));
    EXPECT_EQ(storedNames(*printer, Memory::Flash), std::vector<std::string>{c.font});
}

TEST_P(Resources, TestPrintNamesTheFile) {
    const LanguageCase &c = GetParam();
    auto printer = startPrinter(c.language);
    ASSERT_TRUE(printer->addObject(Memory::Flash, fontFor(c)));
    auto module = loadModule(c.language);
    const auto port = netPort(printer->port());
    glyphmill::FileListing listing = glyphmill::ListPrinterFiles(port, module.get(), "FLASH");
    ASSERT_EQ(listing.records.size(), 1u);
    ASSERT_TRUE(glyphmill::PrintTestFile(port, module.get(), listing.records[0], u"FLASH", u"Hello"));
    ASSERT_TRUE(printer->waitUntil([&] { return !printer->testPrints().empty(); }, std::chrono::seconds(5)));
    EXPECT_EQ(printer->testPrints()[0].object, c.font);
}

TEST_P(Resources, FormatEmptiesFlash) {
    const LanguageCase &c = GetParam();
    auto printer = startPrinter(c.language);
    ASSERT_TRUE(printer->addObject(Memory::Flash, fontFor(c)));
    auto module = loadModule(c.language);
    ASSERT_TRUE(glyphmill::FormatStorage(netPort(printer->port()), module.get(), "FLASH"));
    EXPECT_TRUE(printer->waitUntil([&] { return printer->objects(Memory::Flash).empty(); }, std::chrono::seconds(5)));
}

TEST(Format, RamOfKdxzDeletesEveryListedFileAndLeavesFlashAlone) {
    auto printer = startPrinter("KDXZ");
    for (const char *name : {"A.TTF", "B.GRF", "C.BMP"}) ASSERT_TRUE(printer->addObject(Memory::Ram, object(name, ObjectKind::Graphic, "BMP")));
    ASSERT_TRUE(printer->addObject(Memory::Flash, object("KEEP.TTF", ObjectKind::TrueTypeFont)));
    auto module = loadModule("KDXZ");
    ASSERT_TRUE(glyphmill::FormatStorage(netPort(printer->port()), module.get(), "RAM"));
    EXPECT_TRUE(printer->waitUntil([&] { return printer->objects(Memory::Ram).empty(); }, std::chrono::seconds(5)));
    EXPECT_EQ(storedNames(*printer, Memory::Flash), std::vector<std::string>{"KEEP.TTF"});
}

TEST(Format, EmptyRamOfKdxzIsDoneWithoutACommand) {
    auto printer = startPrinter("KDXZ");
    auto module = loadModule("KDXZ");
    ASSERT_TRUE(glyphmill::FormatStorage(netPort(printer->port()), module.get(), "RAM"));
    EXPECT_EQ(printer->receivedStreams().size(), 1u);  // the listing only
}

TEST(Listing, TwoKindsShareOneHundredRecords) {
    auto printer = startPrinter("KDXE");
    for (int i = 0; i < 70; ++i) {
        ASSERT_TRUE(printer->addObject(Memory::Flash, object(std::string(1, char('a' + i % 26)) + std::to_string(i), ObjectKind::BitmapFont)));
        ASSERT_TRUE(printer->addObject(Memory::Flash, object("G" + std::to_string(i), ObjectKind::Graphic, "PCX")));
    }
    auto module = loadModule("KDXE");
    glyphmill::FileListing listing = glyphmill::ListPrinterFiles(netPort(printer->port()), module.get(), "FLASH");
    EXPECT_LE(listing.records.size(), 100u);
    if (listing.ok) {
        EXPECT_EQ(listing.records.size(), 100u);
    }
}

TEST(Listing, FailsWithoutModuleOrWithAnUnknownMemory) {
    auto printer = startPrinter("KDXZ");
    auto module = loadModule("KDXZ");
    EXPECT_FALSE(glyphmill::ListPrinterFiles(netPort(printer->port()), nullptr, "FLASH").ok);
    EXPECT_FALSE(glyphmill::ListPrinterFiles(netPort(printer->port()), module.get(), "ROM").ok);
}

}  // namespace
