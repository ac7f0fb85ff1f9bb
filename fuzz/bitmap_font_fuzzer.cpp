// Builds arbitrary (bounded) code ranges, font settings, widths and glyph blocks and checks
// that GetBmpFontData never writes past the length GetBmpFontLength reported: the output
// buffer has exactly that size, so AddressSanitizer catches any overrun, and a reported
// length above the bound aborts.
#include <cstdlib>
#include <memory>
#include <vector>

#include "fuzz_input.h"
#include "kdx/module_abi.h"

namespace {

struct Case {
    std::vector<uint16_t> table;
    CodeRange range{};
    FontSetting font{};
    std::u16string name;
    std::vector<uint8_t> glyphs;
};

Case readCase(FuzzInput &input, WidthTable &widths) {
    Case c;
    c.font.encoding = input.byte() % 3;
    const int stride = c.font.encoding == 1 ? 2 : 3;
    const int rows = input.in(1, 6);
    for (int row = 0; row < rows; ++row) {
        c.table.push_back(static_cast<uint16_t>(input.u16()));
        if (stride == 3) c.table.push_back(0);
        c.table.push_back(static_cast<uint16_t>(input.in(0, 40)));
    }
    c.range.table = c.table.data();
    c.range.rowCount = rows;
    c.range.firstRow = input.in(-1, rows);
    c.range.lastRow = input.in(-1, rows);
    c.range.firstOffset = input.in(-1, 41);
    c.range.lastOffset = input.in(-1, 41);
    c.range.firstCode = input.u16();
    c.range.lastCode = input.u16();
    c.range.charCount = input.in(-1, 300);
    if (input.byte() & 1) {
        // A consistent selection most of the time, so the deep paths are reached.
        int64_t total = 0;
        if (c.range.firstRow >= 0 && c.range.firstRow <= c.range.lastRow && c.range.lastRow < rows) {
            for (int row = c.range.firstRow; row <= c.range.lastRow; ++row) {
                const int64_t length = c.table[row * stride + stride - 1];
                const int64_t begin = row == c.range.firstRow ? c.range.firstOffset : 0;
                const int64_t end = row == c.range.lastRow ? c.range.lastOffset + 1 : length;
                total += end - begin;
            }
        }
        c.range.charCount = static_cast<int32_t>(total);
    }
    c.range.largeSet = input.byte() % 3;
    c.font.fixedWidth = input.byte() % 3;
    c.font.cellWidth = input.in(-1, 80);
    c.font.cellHeight = input.in(-1, 40);
    c.font.fontId = input.u16();
    c.font.memory = input.byte() % 3;
    const int nameLength = input.in(0, 12);
    for (int i = 0; i < nameLength; ++i) c.name.push_back(static_cast<char16_t>(input.in(0x20, 0x7e)));
    c.font.fontName = c.name.c_str();
    widths.ascent = input.u16();
    for (int i = 0; i < 300; ++i) widths.widths[i] = static_cast<uint16_t>(input.in(0, 90));
    c.glyphs.assign(input.rest(), input.rest() + input.restSize());
    return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static auto widths = std::make_unique<WidthTable>();
    FuzzInput input(data, size);
    Case c = readCase(input, *widths);

    int32_t bound = -1;
    GetBmpFontLength(&c.range, &c.font, &bound);
    if (bound < 0) std::abort();
    auto out = std::make_unique<uint8_t[]>(static_cast<size_t>(bound) + 1);
    int32_t length = -7;
    const bool written = GetBmpFontData(&c.range, &c.font, widths.get(),
                                        c.glyphs.empty() ? nullptr : c.glyphs.data(),
                                        static_cast<int32_t>(c.glyphs.size()), out.get(), &length);
    if (written && (length < 0 || length > bound)) std::abort();
    if (!written && length != -7) std::abort();
    return 0;
}
