// Each language module talks to an emulated printer of its language through a real socket:
// the module builds every command, the printer applies it, and the module parses the replies.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "emulator_client.h"
#include "language_traits.h"
#include "module_client.h"
#include "sample_payloads.h"

namespace emulator_test {
namespace {

using emulator::Memory;
using emulator::ObjectKind;
using emulator::Printer;

constexpr char kTestText[] = "I am test string!";

struct GraphicPayload {
    std::string payload;  // what the module is handed
    int32_t imageBytes;
    int32_t rowBytes;
    std::string stored;   // what the printer keeps
};

GraphicPayload graphicPayload(const std::string &format) {
    if (format == "BMP") {
        const std::string file = monochromeBmp(16, 4);
        return {file, 0, 0, file};
    }
    if (format == "PCX") {
        const std::string file = monochromePcx(16, 4);
        return {file, 0, 0, file};
    }
    if (format == "GRF") {
        const GrfSample grf = grfSample();
        return {grf.text, int32_t(grf.rows.size()), grf.rowBytes, grf.rows};
    }
    const PngSample png = pngSample();
    return {png.text, int32_t(png.file.size()), 2, png.file};
}

std::string withoutLineEnds(std::string text) {
    while (!text.empty() && (text.front() == '\r' || text.front() == '\n')) text.erase(0, 1);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    return text;
}

class ModuleRoundTrip : public ::testing::TestWithParam<LanguageTraits> {
protected:
    void SetUp() override {
        if (!moduleAvailable(traits().language)) GTEST_SKIP() << moduleFile(traits().language) << " is not built";
        module_ = std::make_unique<ModuleClient>(traits().language);
    }

    const LanguageTraits &traits() const { return GetParam(); }
    const ModuleClient &module() const { return *module_; }

    std::unique_ptr<Printer> start(uint64_t ram = uint64_t(8) << 20, uint64_t flash = uint64_t(64) << 20) {
        emulator::Options options;
        options.language = traits().language;
        options.ramBytes = ram;
        options.flashBytes = flash;
        return std::make_unique<Printer>(options);
    }

    // Every file query of the language for one memory, each on its own connection, parsed by
    // the module.
    std::vector<FileRecord> records(Printer &printer, uint8_t selector) {
        std::vector<FileRecord> all;
        for (uint8_t kind : traits().kinds) {
            const auto command = module().fileQuery(selector, kind);
            EXPECT_TRUE(command) << "kind " << int(kind);
            if (!command) continue;
            const std::string reply = query(printer, *command);
            const auto parsed = module().files(selector, kind, reply);
            EXPECT_TRUE(parsed) << "the module refuses the listing " << testing::PrintToString(reply);
            if (parsed) all.insert(all.end(), parsed->begin(), parsed->end());
        }
        return all;
    }

    std::vector<Listed> listing(Printer &printer, uint8_t selector) {
        std::vector<Listed> list;
        for (const FileRecord &record : records(printer, selector)) list.push_back(listed(record));
        return list;
    }

    std::optional<int64_t> freeBytes(Printer &printer, uint8_t selector) {
        const auto command = module().memoryQuery(selector);
        if (!command) return std::nullopt;
        return module().freeBytes(selector, query(printer, *command));
    }

    void downloadGraphic(Printer &printer, const std::string &name, uint8_t selector) {
        const std::string format = module().graphicFormats().front();
        const GraphicPayload graphic = graphicPayload(format);
        const auto stream = module().graphic(name, format, selector, graphic.payload, graphic.imageBytes, graphic.rowBytes);
        ASSERT_TRUE(stream);
        deliver(printer, *stream);
        ASSERT_TRUE(printer.object(traits().memory(selector), traits().graphicName(name, format)));
    }

    void downloadFont(Printer &printer, uint8_t selector) {
        SampleFont font;
        font.name = wide(traits().fontName);
        const auto stream = module().bitmapFont(font, selector);
        ASSERT_TRUE(stream);
        deliver(printer, *stream);
        ASSERT_TRUE(printer.object(traits().memory(selector), traits().fontFileName(traits().fontName)));
    }

    std::unique_ptr<ModuleClient> module_;
};

TEST_P(ModuleRoundTrip, FreeMemoryQueryReadsCapacityLessWhatIsStored) {
    auto printer = start(1'000'000, 5'000'000);
    for (uint8_t selector : traits().selectors) {
        const Memory memory = traits().memory(selector);
        ASSERT_TRUE(printer->addObject(memory, {"HELD", ObjectKind::Graphic, "PCX", std::string(1234, 'x')}));
        EXPECT_EQ(freeBytes(*printer, selector), int64_t(printer->capacity(memory)) - 1234) << "selector " << int(selector);
        EXPECT_EQ(printer->freeBytes(memory), printer->capacity(memory) - 1234);
    }
}

TEST_P(ModuleRoundTrip, FreeMemoryBeyondFourGibibytesIsReadWhole) {
    const uint64_t ram = (uint64_t(5) << 30) + 17, flash = (uint64_t(6) << 30) + 3;
    auto printer = start(ram, flash);
    for (uint8_t selector : traits().selectors)
        EXPECT_EQ(freeBytes(*printer, selector), int64_t(traits().memory(selector) == Memory::Ram ? ram : flash));
}

TEST_P(ModuleRoundTrip, EveryGraphicFormatOfTheModuleIsStoredAndListed) {
    auto printer = start();
    for (uint8_t selector : traits().selectors) {
        for (const std::string &format : module().graphicFormats()) {
            SCOPED_TRACE(format + " selector " + std::to_string(selector));
            const GraphicPayload graphic = graphicPayload(format);
            const auto stream = module().graphic("LOGO", format, selector, graphic.payload, graphic.imageBytes, graphic.rowBytes);
            ASSERT_TRUE(stream);
            deliver(*printer, *stream);
            const std::string name = traits().graphicName("LOGO", format);
            const auto stored = printer->object(traits().memory(selector), name);
            ASSERT_TRUE(stored) << name;
            EXPECT_EQ(stored->kind, ObjectKind::Graphic);
            EXPECT_EQ(stored->format, format);
            EXPECT_EQ(stored->data, graphic.stored);

            const std::vector<Listed> list = listing(*printer, selector);
            const auto entry = std::find_if(list.begin(), list.end(), [&](const Listed &l) { return l.name == name; });
            ASSERT_NE(entry, list.end()) << name << " is not listed";
            EXPECT_EQ(entry->type, "Graphic");
            EXPECT_EQ(entry->memory, traits().memoryText(selector));
            EXPECT_EQ(entry->size, traits().listsSizes ? std::to_string(graphic.stored.size()) : "");
        }
    }
    EXPECT_TRUE(printer->rejections().empty()) << printer->rejections().front().reason;
}

TEST_P(ModuleRoundTrip, BitmapFontIsStoredAndListed) {
    auto printer = start();
    SampleFont font;
    font.name = wide(traits().fontName);
    for (uint8_t selector : traits().selectors) {
        const auto stream = module().bitmapFont(font, selector);
        ASSERT_TRUE(stream);
        deliver(*printer, *stream);
        const std::string name = traits().fontFileName(traits().fontName);
        const auto stored = printer->object(traits().memory(selector), name);
        ASSERT_TRUE(stored) << name;
        EXPECT_EQ(stored->kind, ObjectKind::BitmapFont);
        EXPECT_EQ(stored->size(), traits().sampleFontBytes);
        EXPECT_TRUE(stream->ends_with(stored->data)) << "the stored font is the data that follows the header";

        const std::vector<Listed> list = listing(*printer, selector);
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0].name, name);
        EXPECT_EQ(list[0].type, traits().bitmapFontType);
        EXPECT_EQ(list[0].size, traits().listsSizes ? std::to_string(traits().sampleFontBytes) : "");
    }
}

TEST_P(ModuleRoundTrip, TrueTypeFontIsStoredAndListed) {
    if (traits().trueTypeType.empty()) {
        EXPECT_FALSE(module().trueType("ARIAL", 1, trueTypeFile())) << "a language without TrueType download";
        return;
    }
    auto printer = start();
    for (uint8_t selector : traits().selectors) {
        const auto stream = module().trueType("ARIAL", selector, trueTypeFile());
        ASSERT_TRUE(stream);
        deliver(*printer, *stream);
        const auto stored = printer->object(traits().memory(selector), traits().trueTypeName("ARIAL"));
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->kind, ObjectKind::TrueTypeFont);
        EXPECT_EQ(stored->data, trueTypeFile());
        const std::vector<Listed> list = listing(*printer, selector);
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0].type, traits().trueTypeType);
        EXPECT_EQ(list[0].size, std::to_string(trueTypeFile().size()));
    }
}

TEST_P(ModuleRoundTrip, DeleteRemovesOnlyTheChosenFile) {
    auto printer = start();
    const uint8_t selector = traits().selectors.back();
    downloadGraphic(*printer, "KEEP", selector);
    downloadGraphic(*printer, "DROP", selector);
    std::vector<FileRecord> chosen;
    for (const FileRecord &record : records(*printer, selector))
        if (listed(record).name.starts_with("DROP")) chosen.push_back(record);
    ASSERT_EQ(chosen.size(), 1u);
    const auto command = module().deleteCommand(chosen);
    ASSERT_TRUE(command);
    deliver(*printer, *command);

    const std::vector<emulator::StoredObject> left = printer->objects(traits().memory(selector));
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(left[0].name.starts_with("KEEP"));
    const std::vector<Listed> list = listing(*printer, selector);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(list[0].name.starts_with("KEEP"));
}

TEST_P(ModuleRoundTrip, FormatEmptiesTheMemoryOfTheRecords) {
    for (uint8_t selector : traits().selectors) {
        SCOPED_TRACE("selector " + std::to_string(selector));
        auto printer = start();
        const Memory memory = traits().memory(selector);
        const Memory other = memory == Memory::Ram ? Memory::Flash : Memory::Ram;
        ASSERT_TRUE(printer->addObject(other, {"OTHER.PCX", ObjectKind::Graphic, "PCX", "x"}));
        downloadGraphic(*printer, "LOGO", selector);
        downloadFont(*printer, selector);
        const std::vector<FileRecord> listed = records(*printer, selector);
        ASSERT_EQ(listed.size(), 2u);
        const auto command = module().formatCommand(listed);
        ASSERT_TRUE(command);
        deliver(*printer, *command);
        EXPECT_TRUE(printer->objects(memory).empty());
        EXPECT_EQ(printer->freeBytes(memory), printer->capacity(memory));
        EXPECT_EQ(printer->objects(other).size(), 1u) << "the other memory is left alone";
        EXPECT_TRUE(records(*printer, selector).empty());
    }
}

TEST_P(ModuleRoundTrip, TestPrintsAreRecordedWithTheObjectTheyName) {
    auto printer = start();
    const uint8_t selector = traits().selectors.back();
    downloadGraphic(*printer, "LOGO", selector);
    downloadFont(*printer, selector);
    const std::vector<FileRecord> listed = records(*printer, selector);
    ASSERT_EQ(listed.size(), 2u);
    for (const FileRecord &record : listed) {
        const Listed file = emulator_test::listed(record);
        SCOPED_TRACE(file.name + " " + file.type);
        const std::string command = module().printCommand(record, kTestText);
        ASSERT_FALSE(command.empty());
        const size_t before = printer->testPrints().size();
        deliver(*printer, command);
        const std::vector<emulator::TestPrint> prints = printer->testPrints();
        ASSERT_EQ(prints.size(), before + 1);
        const emulator::TestPrint &print = prints.back();
        EXPECT_EQ(withoutLineEnds(print.stream), withoutLineEnds(command));
        EXPECT_EQ(print.object, file.name);
        EXPECT_EQ(print.memory, traits().memory(selector));
        EXPECT_EQ(print.text, file.type == "Graphic" ? "" : kTestText);
    }
}

TEST_P(ModuleRoundTrip, DownloadThatDoesNotFitIsRejectedAndTheStreamGoesOn) {
    auto printer = start(64, 64);
    const uint8_t selector = traits().selectors.back();
    const std::string format = module().graphicFormats().front();
    const GraphicPayload big = graphicPayload(format);
    ASSERT_GT(big.stored.size(), 64u);
    const auto stream = module().graphic("BIG", format, selector, big.payload, big.imageBytes, big.rowBytes);
    ASSERT_TRUE(stream);
    const auto memQuery = module().memoryQuery(selector);
    ASSERT_TRUE(memQuery);
    // The rejected download and a query in one stream: the query is still answered.
    const std::string reply = query(*printer, *stream + *memQuery);
    EXPECT_TRUE(printer->objects(traits().memory(selector)).empty());
    ASSERT_FALSE(printer->rejections().empty());
    EXPECT_NE(printer->rejections().front().reason.find("does not fit"), std::string::npos);
    EXPECT_EQ(module().freeBytes(selector, reply), 64);
}

TEST_P(ModuleRoundTrip, CommandsSplitAcrossReadsAreUnderstood) {
    auto printer = start();
    const uint8_t selector = traits().selectors.back();
    const std::string format = module().graphicFormats().front();
    const GraphicPayload graphic = graphicPayload(format);
    SampleFont font;
    font.name = wide(traits().fontName);
    const std::string stream = *module().graphic("LOGO", format, selector, graphic.payload, graphic.imageBytes, graphic.rowBytes) +
                               *module().bitmapFont(font, selector) + *module().memoryQuery(selector);
    TcpClient client(printer->port());
    const size_t replies = printer->repliesSent();
    sendInPieces(*printer, client, stream);
    ASSERT_TRUE(printer->waitUntil([&] { return printer->repliesSent() > replies; }, 5s));
    const std::string reply = readReply(client.fd());
    EXPECT_EQ(module().freeBytes(selector, reply), int64_t(printer->freeBytes(traits().memory(selector))));
    EXPECT_EQ(printer->objects(traits().memory(selector)).size(), 2u);
    EXPECT_EQ(printer->receivedStreams().back(), stream);
}

TEST_P(ModuleRoundTrip, SeveralCommandsInOneWriteAreAllApplied) {
    auto printer = start();
    const uint8_t selector = traits().selectors.back();
    const std::string format = module().graphicFormats().front();
    const GraphicPayload graphic = graphicPayload(format);
    std::string stream;
    for (const char *name : {"ONE", "TWO", "SIX"})
        stream += *module().graphic(name, format, selector, graphic.payload, graphic.imageBytes, graphic.rowBytes);
    const std::string memQuery = *module().memoryQuery(selector);
    TcpClient client(printer->port());
    const std::string replies = exchange(*printer, client, stream + memQuery + memQuery, 2);
    EXPECT_EQ(printer->objects(traits().memory(selector)).size(), 3u);
    EXPECT_EQ(replies.size() % 2, 0u);
    const std::string first = replies.substr(0, replies.size() / 2);
    EXPECT_EQ(first + first, replies) << "two identical replies";
    EXPECT_EQ(module().freeBytes(selector, first), int64_t(printer->freeBytes(traits().memory(selector))));
}

TEST_P(ModuleRoundTrip, WorksOverAPseudoTerminal) {
    emulator::Options options;
    options.language = traits().language;
    options.transport = emulator::Options::Transport::Pty;
    Printer printer(options);
    ASSERT_TRUE(printer.address().starts_with("/dev/pts/")) << printer.address();
    TerminalClient terminal(printer.ptyPath());
    const uint8_t selector = traits().selectors.back();
    const std::string format = module().graphicFormats().front();
    const GraphicPayload graphic = graphicPayload(format);
    const std::string download = *module().graphic("LOGO", format, selector, graphic.payload, graphic.imageBytes, graphic.rowBytes);
    // Every byte value passes the raw terminal unchanged, the download's binary data too.
    const std::string reply = exchange(printer, terminal.fd(), download + *module().memoryQuery(selector));
    const auto stored = printer.object(traits().memory(selector), traits().graphicName("LOGO", format));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->data, graphic.stored);
    EXPECT_EQ(module().freeBytes(selector, reply), int64_t(printer.freeBytes(traits().memory(selector))));
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, ModuleRoundTrip, ::testing::ValuesIn(allLanguages()),
                         [](const auto &info) { return languageName(info.param); });

}  // namespace
}  // namespace emulator_test
