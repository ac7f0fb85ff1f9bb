// Loads each language module through its binary interface and shows, per language, the
// free-memory query and a small bitmap-font stream as hex dumps.
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "language_module.h"
#include "platform/program_folder.h"

namespace {

void hexDump(const uint8_t *data, int32_t length) {
    for (int32_t row = 0; row < length; row += 16) {
        std::printf("  %06x ", row);
        for (int32_t i = row; i < row + 16; ++i) {
            if (i < length) std::printf(" %02x", data[i]);
            else std::printf("   ");
        }
        std::printf("  ");
        for (int32_t i = row; i < row + 16 && i < length; ++i)
            std::putchar(data[i] >= 0x20 && data[i] < 0x7f ? data[i] : '.');
        std::putchar('\n');
    }
}

// Three 8 x 8 glyphs ("A", "B", "C") of the printable ASCII row of a code table.
struct SampleFont {
    uint16_t table[3] = {0x20, 0, 95};
    CodeRange range{table, 1, 0, 0x41 - 0x20, 0x41, 0, 0x43 - 0x20, 0x43, 3, 0};
    FontSetting font{0, 0x20, 0x7e, 1, 8, 8, u"a", 1, 1};
    std::vector<uint8_t> glyphs{0x18, 0x24, 0x42, 0x42, 0x7e, 0x42, 0x42, 0x00,   // A
                                0x7c, 0x42, 0x42, 0x7c, 0x42, 0x42, 0x7c, 0x00,   // B
                                0x3c, 0x42, 0x40, 0x40, 0x40, 0x42, 0x3c, 0x00};  // C
};

int demo(const std::filesystem::path &folder, const std::string &language) {
    kdx::LanguageModule module(folder, language);
    std::printf("%s (%s)\n", language.c_str(), kdx::LanguageModule::fileFor(folder, language).c_str());

    std::vector<uint8_t> command(KDX_COMMAND_CAPACITY);
    int32_t length = 0;
    auto memCmd = module.procedure<GetModuleMemCmdFn>("GetModuleMemCmd");
    if (memCmd && memCmd(1, command.data(), &length)) {
        std::printf(" free-memory query for FLASH, %d bytes:\n", length);
        hexDump(command.data(), length);
    } else {
        std::printf(" no free-memory query for FLASH\n");
    }

    SampleFont sample;
    auto fontLength = module.procedure<GetBmpFontLengthFn>("GetBmpFontLength");
    auto fontData = module.procedure<GetBmpFontDataFn>("GetBmpFontData");
    if (!fontLength || !fontData) {
        std::printf(" no bitmap-font procedures\n");
        return 1;
    }
    int32_t bound = 0;
    fontLength(&sample.range, &sample.font, &bound);
    std::vector<uint8_t> stream(static_cast<size_t>(bound));
    auto widths = std::make_unique<WidthTable>();
    if (!fontData(&sample.range, &sample.font, widths.get(), sample.glyphs.data(),
                  static_cast<int32_t>(sample.glyphs.size()), stream.data(), &length)) {
        std::printf(" the module refused the sample font\n");
        return 1;
    }
    std::printf(" bitmap font \"a\" (A-C, 8 x 8 dots), %d of at most %d bytes:\n", length, bound);
    hexDump(stream.data(), length);
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    const std::filesystem::path folder = platform::programFolder();
    std::vector<std::string> languages;
    for (int i = 1; i < argc; ++i) languages.emplace_back(argv[i]);
    if (languages.empty()) languages = {"KDXZ", "KDXT", "KDXA", "KDXC", "KDXE"};
    int failures = 0;
    for (const std::string &language : languages) {
        try {
            failures += demo(folder, language);
        } catch (const std::exception &error) {
            std::fprintf(stderr, "%s: %s\n", language.c_str(), error.what());
            ++failures;
        }
        std::putchar('\n');
    }
    return failures == 0 ? 0 : 1;
}
