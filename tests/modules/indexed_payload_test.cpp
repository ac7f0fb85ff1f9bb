// The indexed bitmap-font payload: header, range table, glyph index and glyph area. KDXZ, KDXT
// and KDXC carry the same payload behind their own text header, so every case runs through all
// three and expects the same payload bytes.
#include <cstdio>
#include <string>

#include "module_test_support.h"

namespace kdxtest {
namespace {

// The fields of the 56-byte payload header that vary between fonts.
struct Header {
    uint8_t encoding;
    uint8_t fixedWidth;
    uint32_t charCount;
    uint16_t cellHeight;
    uint16_t cellWidth;
    uint16_t ascent;
    uint32_t glyphAreaOffset;
    uint32_t entrySize;
    uint32_t indexOffset;
    uint32_t rangeCount;
    Bytes name8;  // the first 8 bytes of the converted name, zero-filled
    uint32_t payloadSize;
};

Bytes header(const Header &h) {
    Bytes name = h.name8.substr(0, 8);
    name.resize(8, '\0');
    return raw({56, h.encoding, h.fixedWidth, 0}) + le32(h.charCount) + le16(h.cellHeight) + le16(h.cellWidth) +
           le16(h.ascent) + le16(h.cellWidth) + le32(56) + le32(h.glyphAreaOffset) + le32(h.entrySize) +
           le32(h.indexOffset) + le32(h.rangeCount) + le16(h.encoding == 1 ? 2 : 0) +
           raw({8, static_cast<int>(h.entrySize / 4)}) + name + le32(1) + le32(h.payloadSize);
}

Bytes rangeEntry(uint16_t first, uint16_t last, uint32_t indexAt) { return le16(first) + le16(last) + le32(indexAt); }

// A 4-byte index entry: the width in the top 6 bits, the glyph offset below.
Bytes packedEntry(uint32_t width, uint32_t glyphOffset) { return le32((width << 26) | glyphOffset); }

std::string hexField(const char *format, unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

unsigned checksum(const Bytes &data) {
    unsigned sum = 0;
    for (char c : data) sum += static_cast<uint8_t>(c);
    return (65536 - sum % 65536) % 65536;
}

// The stream a module writes around a payload for a FLASH download of the font named by
// `nameBytes` (already in the ANSI code page).
Bytes streamAround(const std::string &module, const Bytes &nameBytes, const Bytes &payload) {
    if (module == "KDXC")
        return "! CISDF\r\n" + nameBytes + ".FNT\r\n" + hexField("%08X", static_cast<unsigned>(payload.size())) +
               "\r\n" + hexField("%04X", checksum(payload)) + "\r\n" + payload;
    return "~DYE:" + nameBytes + ",B,T," + hexField("%010u", static_cast<unsigned>(payload.size())) + ",10," + payload;
}

std::size_t textHeaderLength(const std::string &module, const Bytes &nameBytes) {
    return module == "KDXC" ? 31 + nameBytes.size() : 24 + nameBytes.size();
}

int32_t boundAround(const std::string &module, const Bytes &nameBytes, int32_t payloadBound) {
    return module == "KDXC" ? 100 + payloadBound : static_cast<int32_t>(24 + nameBytes.size()) + payloadBound;
}

uint32_t le32At(const Bytes &bytes, std::size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes.at(at + static_cast<std::size_t>(i)));
    return v;
}

class IndexedPayload : public ::testing::TestWithParam<const char *> {
protected:
    // Builds the font in FLASH and checks the bound, the whole stream and the size field.
    void expectPayload(BitmapFont &font, const Bytes &nameBytes, const Bytes &payload, int32_t payloadBound) {
        const std::string module = GetParam();
        font.setting.memory = 1;
        const FontBuild build = buildFont(procedures(module), font);
        ASSERT_TRUE(build.ok);
        EXPECT_EQ(build.bound, boundAround(module, nameBytes, payloadBound));
        const Bytes stream = build.stream();
        EXPECT_BYTES(streamAround(module, nameBytes, payload), stream);
        const std::size_t textLength = textHeaderLength(module, nameBytes);
        ASSERT_GE(stream.size(), textLength + 56);
        EXPECT_EQ(le32At(stream, textLength + 52), stream.size() - textLength)
            << "the size field must count every payload byte written";
    }
};

INSTANTIATE_TEST_SUITE_P(Modules, IndexedPayload, ::testing::Values("KDXZ", "KDXT", "KDXC"),
                         [](const auto &info) { return std::string(info.param); });

TEST_P(IndexedPayload, SelectionInsideOneRowIsOneRange) {
    BitmapFont font;
    font.table = CodeTable::unicode({{0x30, 10}, {0x41, 26}});
    font.select(1, 2, 1, 5);  // C to F
    font.fixedCells(8, 2);
    font.widths->ascent = 14;
    const Bytes payload = header({.encoding = 1,
                                  .fixedWidth = 1,
                                  .charCount = 4,
                                  .cellHeight = 2,
                                  .cellWidth = 8,
                                  .ascent = 14,
                                  .glyphAreaOffset = 80,
                                  .entrySize = 4,
                                  .indexOffset = 64,
                                  .rangeCount = 1,
                                  .name8 = "FONT",
                                  .payloadSize = 88}) +
                          rangeEntry(0x43, 0x46, 64) + packedEntry(8, 0) + packedEntry(8, 2) + packedEntry(8, 4) +
                          packedEntry(8, 6) + font.glyphs;
    expectPayload(font, "FONT", payload, 88);
}

// Row 2 starts right after the last selected code of row 1, so both form one range; row 3
// leaves a gap and opens a second one.
TEST_P(IndexedPayload, ContinuingRowsJoinAndAGapStartsANewRange) {
    BitmapFont font;
    font.table = CodeTable::unicode({{0x41, 5}, {0x46, 3}, {0x50, 4}});
    font.select(0, 2, 2, 1);  // 0x43-0x45, 0x46-0x48, 0x50-0x51
    font.fixedCells(8, 1);
    font.widths->ascent = 14;
    Bytes index;
    for (uint32_t i = 0; i < 8; ++i) index += packedEntry(8, i);
    const Bytes payload = header({.encoding = 1,
                                  .fixedWidth = 1,
                                  .charCount = 8,
                                  .cellHeight = 1,
                                  .cellWidth = 8,
                                  .ascent = 14,
                                  .glyphAreaOffset = 104,
                                  .entrySize = 4,
                                  .indexOffset = 72,
                                  .rangeCount = 2,
                                  .name8 = "FONT",
                                  .payloadSize = 112}) +
                          rangeEntry(0x43, 0x48, 72) + rangeEntry(0x50, 0x51, 96) + index + font.glyphs;
    expectPayload(font, "FONT", payload, 64 + 8 * 2 + 4 * 8 + 8);
}

TEST_P(IndexedPayload, CellWidth63PacksTheWidthIntoTheTopBits) {
    BitmapFont font;
    font.table = CodeTable::mbcs({{0xA1A1, 2}});
    font.selectAll();
    font.fixedCells(63, 1);  // 8 bytes per glyph
    font.widths->ascent = 14;
    const Bytes payload = header({.encoding = 0,
                                  .fixedWidth = 1,
                                  .charCount = 2,
                                  .cellHeight = 1,
                                  .cellWidth = 63,
                                  .ascent = 14,
                                  .glyphAreaOffset = 72,
                                  .entrySize = 4,
                                  .indexOffset = 64,
                                  .rangeCount = 1,
                                  .name8 = "FONT",
                                  .payloadSize = 88}) +
                          rangeEntry(0xA1A1, 0xA1A2, 64) + le32(0xFC000000u) + le32(0xFC000008u) + font.glyphs;
    expectPayload(font, "FONT", payload, 88);
}

TEST_P(IndexedPayload, CellWidth64UsesTwoWordEntries) {
    BitmapFont font;
    font.table = CodeTable::unicode({{0x41, 2}});
    font.selectAll();
    font.fixedCells(64, 1);
    font.widths->ascent = 14;
    const Bytes payload = header({.encoding = 1,
                                  .fixedWidth = 1,
                                  .charCount = 2,
                                  .cellHeight = 1,
                                  .cellWidth = 64,
                                  .ascent = 14,
                                  .glyphAreaOffset = 80,
                                  .entrySize = 8,
                                  .indexOffset = 64,
                                  .rangeCount = 1,
                                  .name8 = "FONT",
                                  .payloadSize = 96}) +
                          rangeEntry(0x41, 0x42, 64) + le32(64) + le32(0) + le32(64) + le32(8) + font.glyphs;
    expectPayload(font, "FONT", payload, 96);
}

// A character of width 0 takes no glyph bytes: the next glyph starts where it would have.
TEST_P(IndexedPayload, ProportionalWidthsPlaceTheGlyphs) {
    BitmapFont font;
    font.table = CodeTable::unicode({{0x41, 3}});
    font.selectAll();
    font.setting.fixedWidth = 0;
    font.setting.cellWidth = 16;
    font.setting.cellHeight = 3;
    font.widths->ascent = 14;
    font.widths->widths[0] = 5;
    font.widths->widths[1] = 0;
    font.widths->widths[2] = 12;
    font.glyphs = pattern(3 + 0 + 6);
    const Bytes payload = header({.encoding = 1,
                                  .fixedWidth = 0,
                                  .charCount = 3,
                                  .cellHeight = 3,
                                  .cellWidth = 16,
                                  .ascent = 14,
                                  .glyphAreaOffset = 76,
                                  .entrySize = 4,
                                  .indexOffset = 64,
                                  .rangeCount = 1,
                                  .name8 = "FONT",
                                  .payloadSize = 85}) +
                          rangeEntry(0x41, 0x43, 64) + packedEntry(5, 0) + packedEntry(0, 3) + packedEntry(12, 3) +
                          font.glyphs;
    expectPayload(font, "FONT", payload, 64 + 4 * 3 + 2 * 3 * 3);
}

struct NameCase {
    const char *what;
    const char *codePage;
    std::u16string name;
    Bytes converted;
};

// The text header carries the whole converted name; the payload keeps its first 8 bytes.
TEST_P(IndexedPayload, FontNameIsConvertedAndCutToEightBytes) {
    const NameCase cases[] = {
        {"eight or more bytes", "1252", u"ABCDEFGHIJ", "ABCDEFGHIJ"},
        {"Chinese under 936", "936", u"宋体", raw({0xCB, 0xCE, 0xCC, 0xE5})},
        {"Chinese beyond 8 bytes", "936", u"宋体宋体宋",
         raw({0xCB, 0xCE, 0xCC, 0xE5, 0xCB, 0xCE, 0xCC, 0xE5, 0xCB, 0xCE})},
        {"not in the code page", "1252", u"宋体", "??"},
    };
    for (const NameCase &c : cases) {
        SCOPED_TRACE(c.what);
        ScopedEnv codePage("KDX_CODEPAGE", c.codePage);
        BitmapFont font;
        font.table = CodeTable::unicode({{0x41, 1}});
        font.selectAll();
        font.fixedCells(8, 1);
        font.name = c.name;
        const Bytes payload = header({.encoding = 1,
                                      .fixedWidth = 1,
                                      .charCount = 1,
                                      .cellHeight = 1,
                                      .cellWidth = 8,
                                      .ascent = 0,
                                      .glyphAreaOffset = 68,
                                      .entrySize = 4,
                                      .indexOffset = 64,
                                      .rangeCount = 1,
                                      .name8 = c.converted,
                                      .payloadSize = 69}) +
                              rangeEntry(0x41, 0x41, 64) + packedEntry(8, 0) + font.glyphs;
        expectPayload(font, c.converted, payload, 69);
    }
}

}  // namespace
}  // namespace kdxtest
