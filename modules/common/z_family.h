// Commands of the "^"/"~" language family. KDXZ speaks them all; KDXT printers take the same
// downloads and directory queries; KDXE printers answer the same free-memory query.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "kdx/module_abi.h"
#include "wide_text.h"

namespace kdx::zfamily {

// "R:" for RAM, "E:" for FLASH.
inline WView drive(bool ram) { return ram ? u"R:" : u"E:"; }

// Bitmap font: "~DY" drive, name, ",B,T,", the 10-digit payload size, ",10,", the payload.
int64_t bitmapFontBound(const CodeRange &range, const FontSetting &font);
bool bitmapFontData(const CodeRange &range, const FontSetting &font, const WidthTable *widths,
                    const uint8_t *glyphs, int32_t glyphLength, uint8_t *out, int32_t *length);

// TrueType file: "~DY" drive, name, ",b,T,", the file size, ",,", the file.
int64_t trueTypeLength(const char16_t *name, int32_t fileSize);
void trueTypeData(const char16_t *name, uint8_t memory, const uint8_t *file, int32_t fileSize,
                  uint8_t *out, int32_t *length);

// A BMP (",B,B,") or PCX (",B,X,") file download.
bool fileGraphicData(const char16_t *name, WView format, uint8_t memory, const uint8_t *payload,
                     int32_t payloadSize, uint8_t *out, int32_t *length);
int64_t graphicLengthBound(const char16_t *name, int32_t payloadSize);

// "^XA" CR LF "^HWR:*.*" (or "^HWE:*.*") CR LF "^XZ".
bool directoryCommand(uint8_t memory, uint8_t *out, int32_t *length);

// Free bytes from a directory reply: the marker "DIR R:*.*"/"DIR E:*.*" must be present; the
// number lies between `dash` and "bytes free".
bool freeBytes(uint8_t memory, const char *reply, WView dash, int64_t *freeBytesOut);

// File records from a directory reply, one per "* R:"/"* E:" entry whose extension is listed
// in `types` (extension, record type).
using TypeTable = std::initializer_list<std::pair<WView, WView>>;
bool fileList(uint8_t memory, uint8_t kind, const char *reply, TypeTable types,
              FileRecord *records, int32_t *count);

}  // namespace kdx::zfamily
