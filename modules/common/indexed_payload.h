// The indexed bitmap font payload shared by the KDXZ, KDXT and KDXC languages: a 56-byte
// header, a table of code ranges, one index entry per character and the glyph bitmaps.
#pragma once

#include <cstdint>

#include "kdx/module_abi.h"
#include "stream_builder.h"

namespace kdx {

constexpr int32_t kPayloadHeaderSize = 56;
constexpr int32_t kPayloadSizeOffset = 52;

// Upper bound of the payload for a range and font:
// 64 + 8 * (lastRow - firstRow) + E * charCount + ceil(cellWidth / 8) * cellHeight * charCount.
// Negative for inputs no payload can be built from.
int64_t indexedPayloadBound(const CodeRange &range, const FontSetting &font);

// Appends the payload to `stream`. Returns false, leaving `stream` as it was, when the range
// does not fit its table, the widths are needed but missing, the glyph data is missing, or the
// payload would pass indexedPayloadBound().
bool appendIndexedPayload(StreamBuilder &stream, const CodeRange &range, const FontSetting &font,
                          const WidthTable *widths, const uint8_t *glyphs, int32_t glyphLength);

}  // namespace kdx
