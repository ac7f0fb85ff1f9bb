#include "indexed_payload.h"

#include <cstring>
#include <vector>

#include "selected_characters.h"
#include "text_codec.h"

namespace kdx {
namespace {

struct Range {
    uint32_t first;
    int64_t run;
};

int32_t indexEntrySize(const FontSetting &font) { return font.cellWidth < 64 ? 4 : 8; }

void put16(std::vector<uint8_t> &buffer, size_t at, uint32_t value) {
    buffer[at] = static_cast<uint8_t>(value);
    buffer[at + 1] = static_cast<uint8_t>(value >> 8);
}

void put32(std::vector<uint8_t> &buffer, size_t at, uint32_t value) {
    put16(buffer, at, value & 0xFFFF);
    put16(buffer, at + 2, value >> 16);
}

// Joins rows whose codes continue each other into one range.
std::vector<Range> joinRanges(const std::vector<SelectedRun> &runs) {
    std::vector<Range> ranges;
    for (size_t i = 0; i < runs.size(); ++i) {
        if (i == 0) {
            ranges.push_back({runs[0].firstCode & 0xFFFF, runs[0].count});
        } else if (int64_t(runs[i].firstCode) == int64_t(ranges.back().first) + ranges.back().run) {
            ranges.back().run += runs[i].count;
        } else {
            ranges.push_back({runs[i].firstCode, runs[i].count});
        }
    }
    return ranges;
}

}  // namespace

int64_t indexedPayloadBound(const CodeRange &range, const FontSetting &font) {
    if (range.charCount < 0 || font.cellWidth < 0 || font.cellHeight < 0 || range.lastRow < range.firstRow)
        return -1;
    const int64_t cellBytes = (int64_t(font.cellWidth) + 7) / 8 * font.cellHeight;
    return 64 + 8 * (int64_t(range.lastRow) - range.firstRow) +
           int64_t(indexEntrySize(font)) * range.charCount + cellBytes * range.charCount;
}

bool appendIndexedPayload(StreamBuilder &stream, const CodeRange &range, const FontSetting &font,
                          const WidthTable *widths, const uint8_t *glyphs, int32_t glyphLength) {
    if (!glyphs || glyphLength < 1 || font.cellWidth < 1 || font.cellHeight < 1) return false;
    const bool fixed = font.fixedWidth == 1;
    if (!fixed && (!widths || range.charCount > 65536)) return false;
    const auto runs = selectedRuns(range, font.encoding);
    if (!runs) return false;

    const std::vector<Range> ranges = joinRanges(*runs);
    const int64_t count = range.charCount;
    const int64_t entry = indexEntrySize(font);
    const int64_t rangeCount = static_cast<int64_t>(ranges.size());
    const int64_t indexOffset = kPayloadHeaderSize + 8 * rangeCount;
    const int64_t glyphOffset = indexOffset + entry * count;
    const int64_t payloadSize = glyphOffset + glyphLength;
    if (payloadSize > indexedPayloadBound(range, font)) return false;

    std::vector<uint8_t> head(static_cast<size_t>(glyphOffset), 0);
    head[0] = kPayloadHeaderSize;
    head[1] = font.encoding;
    head[2] = static_cast<uint8_t>(font.fixedWidth);
    put32(head, 4, static_cast<uint32_t>(count));
    put16(head, 8, static_cast<uint32_t>(font.cellHeight));
    put16(head, 10, static_cast<uint32_t>(font.cellWidth));
    put16(head, 12, widths ? widths->ascent : 0);
    put16(head, 14, static_cast<uint32_t>(font.cellWidth));
    put32(head, 16, kPayloadHeaderSize);
    put32(head, 20, static_cast<uint32_t>(glyphOffset));
    put32(head, 24, static_cast<uint32_t>(entry));
    put32(head, 28, static_cast<uint32_t>(indexOffset));
    put32(head, 32, static_cast<uint32_t>(rangeCount));
    put16(head, 36, font.encoding == 1 ? 2 : 0);
    head[38] = 8;
    head[39] = static_cast<uint8_t>(entry / 4);
    const std::string name = toAnsi(viewOf(font.fontName));
    std::memcpy(&head[40], name.data(), name.size() < 8 ? name.size() : 8);
    put32(head, 48, 1);
    put32(head, kPayloadSizeOffset, static_cast<uint32_t>(payloadSize));

    int64_t before = 0;
    for (size_t i = 0; i < ranges.size(); ++i) {
        const size_t at = kPayloadHeaderSize + 8 * i;
        put16(head, at, ranges[i].first);
        put16(head, at + 2, static_cast<uint32_t>(ranges[i].first + ranges[i].run - 1));
        put32(head, at + 4, static_cast<uint32_t>(indexOffset + entry * before));
        before += ranges[i].run;
    }

    uint32_t offset = 0;
    for (int64_t i = 0; i < count; ++i) {
        const uint32_t width = fixed ? static_cast<uint32_t>(font.cellWidth) : widths->widths[i];
        const size_t at = static_cast<size_t>(indexOffset + entry * i);
        if (entry == 4) {
            put32(head, at, (width << 26) + offset);
        } else {
            put32(head, at, width);
            put32(head, at + 4, offset);
        }
        offset += (width + 7) / 8 * static_cast<uint32_t>(font.cellHeight);
    }

    stream.bytes(head.data(), head.size()).bytes(glyphs, static_cast<size_t>(glyphLength));
    return true;
}

}  // namespace kdx
