// KDXE: short command lines ("N", "P1") and quoted object names; bitmap fonts as one record per
// character; FLASH only for queries.
#include "kdx/module_abi.h"
#include "module_support.h"
#include "selected_characters.h"
#include "stream_builder.h"
#include "z_family.h"

using namespace kdx;

namespace {

// (cell bytes + 3) per character, plus the two name lines and three bytes: 17 for a one-letter
// name, two bytes more for each further name byte.
int64_t fontBound(const CodeRange &range, const FontSetting &font) {
    if (font.cellWidth < 0 || font.cellHeight < 0 || range.charCount < 0) return -1;
    const int64_t cell = (int64_t(font.cellWidth) + 7) / 8 * font.cellHeight;
    const int64_t name = int64_t(ansiLength(viewOf(font.fontName)));
    return (cell + 3) * range.charCount + 17 + 2 * (name > 1 ? name - 1 : 0);
}

int64_t graphicBound(const char16_t *name, int32_t payloadSize) {
    // The two header lines hold the name twice and the size: 23 bytes around them.
    const int64_t header = 23 + 2 * int64_t(ansiLength(viewOf(name)));
    return int64_t(payloadSize) + (header > 100 ? header : 100);
}

WString quoted(WView name) { return u"\"" + WString(name) + u"\""; }

}  // namespace

extern "C" {

KDX_EXPORT void GetCmdUIProp(CmdUIProp *prop) {
    if (prop) *prop = CmdUIProp{0, 0, 0, 2, 0, 1};
}

KDX_EXPORT void GetExportImgForm(char16_t *formats, int32_t *count) {
    writeFormats(formats, count, u"PCX;", 1);
}

KDX_EXPORT void GetBmpFontLength(const CodeRange *range, const FontSetting *font, int32_t *length) {
    report(length, range && font ? fontBound(*range, *font) : 0);
}

KDX_EXPORT bool GetBmpFontData(const CodeRange *range, const FontSetting *font, const WidthTable *widths,
                               const uint8_t *glyphs, int32_t glyphLength, uint8_t *out, int32_t *length) {
    if (!range || !font || !glyphs || glyphLength < 1 || font->cellWidth < 1 || font->cellHeight < 1)
        return false;
    const bool fixed = font->fixedWidth == 1;
    if (!fixed && (!widths || range->charCount > 65536)) return false;
    const auto runs = selectedRuns(*range, font->encoding);
    if (!runs) return false;

    const WView name = viewOf(font->fontName);
    StreamBuilder stream;
    stream.text(CRLF).text(u"EK").text(quoted(name)).text(CRLF).text(u"ES").text(quoted(name));
    const bool startsAtZero = (range->firstCode & 0xFFFF) == 0;
    stream.byte(static_cast<uint8_t>(range->charCount - (startsAtZero ? 1 : 0)));
    stream.byte(0).byte(static_cast<uint8_t>(font->cellHeight));

    int64_t read = 0;
    bool covered = true;
    forEachCharacter(*runs, [&](uint32_t code, int64_t index) {
        if (!covered) return;
        const int64_t width = fixed ? font->cellWidth : widths->widths[index];
        const int64_t rowBytes = (width + 7) / 8;
        const int64_t size = rowBytes * font->cellHeight;
        if (read + size > glyphLength) {
            covered = false;
            return;
        }
        if (code % 256 != 0) {
            stream.byte(static_cast<uint8_t>(code)).byte(static_cast<uint8_t>(width)).byte(static_cast<uint8_t>(rowBytes));
            stream.bytes(glyphs + read, size_t(size));
        }
        read += size;
    });
    if (!covered) return false;
    return stream.commit(out, length, reportableLength(fontBound(*range, *font)));
}

KDX_EXPORT void GetTtfFontLength(const char16_t *, int32_t, int32_t *length) {
    if (length) *length = 0;
}

KDX_EXPORT void GetTtfFontData(const char16_t *, uint8_t, const uint8_t *, int32_t, uint8_t *, int32_t *length) {
    if (length) *length = 0;
}

KDX_EXPORT void GetGraphicDataLength(const char16_t *name, int32_t payloadSize, int32_t *length) {
    report(length, graphicBound(name, payloadSize));
}

KDX_EXPORT bool GetGraphicData(const char16_t *name, const char16_t *format, uint8_t, const uint8_t *payload,
                               int32_t payloadSize, int32_t, int32_t, uint8_t *out, int32_t *length) {
    const WView graphic = viewOf(name);
    if (graphic.empty() || viewOf(format) != u"PCX" || !payload || payloadSize < 1) return false;
    StreamBuilder stream;
    stream.text(u"GK").text(quoted(graphic)).text(CRLF);
    stream.text(u"GM").text(quoted(graphic)).text(decimal(payloadSize)).text(CRLF);
    stream.bytes(payload, size_t(payloadSize));
    return stream.commit(out, length, reportableLength(graphicBound(name, payloadSize)));
}

KDX_EXPORT bool GetModuleMemCmd(uint8_t memory, uint8_t *out, int32_t *length) {
    if (memory != 1) return false;
    return zfamily::directoryCommand(memory, out, length);
}

KDX_EXPORT bool GetModuleMemLen(uint8_t memory, const char *reply, int64_t *freeBytes) {
    if (memory != 1) return false;
    return zfamily::freeBytes(memory, reply, u"-   ", freeBytes);
}

KDX_EXPORT bool GetFileQueryCmd(uint8_t memory, uint8_t kind, uint8_t *out, int32_t *length) {
    if (memory != 1 || (kind != 1 && kind != 2)) return false;
    StreamBuilder stream;
    stream.text(kind == 1 ? u"UE" : u"UG").text(CRLF);
    return stream.commit(out, length, KDX_COMMAND_CAPACITY);
}

// The reply announces its entry count on its first line; fonts list one entry per line with
// the name before the first ",", graphics one name per line.
KDX_EXPORT bool GetFileQueryResult(uint8_t memory, uint8_t kind, const char *reply, FileRecord *records,
                                   int32_t *count) {
    if (memory != 1 || (kind != 1 && kind != 2) || !reply || !records || !count) return false;
    const WString whole = replyText(reply);
    WView text(whole);
    const WView type = kind == 1 ? u"Bitmap Font" : u"Graphic";
    const WView separator = kind == 1 ? u"," : CRLF;

    const size_t firstLine = text.find(CRLF);
    if (firstLine == WView::npos) return false;
    const int64_t announced = numberOf(text.substr(0, firstLine));
    const int32_t entries = announced < 0 ? 0 : announced > KDX_RECORD_CAPACITY ? KDX_RECORD_CAPACITY : int32_t(announced);
    *count = entries;
    for (int32_t i = 0; i < entries; ++i) {
        const size_t lineEnd = text.find(CRLF);
        if (lineEnd == WView::npos) return false;
        text = text.substr(lineEnd + 2);
        const size_t end = text.find(separator);
        if (end == WView::npos) return false;
        fillRecord(records[i], u"FLASH", trim(text.substr(0, end)), type, u"");
    }
    return true;
}

KDX_EXPORT bool GetFileDelCmd(const FileRecord *records, int32_t count, uint8_t *out, int32_t *length) {
    if (!records || count < 1) return false;
    StreamBuilder stream;
    for (int32_t i = 0; i < count; ++i) {
        stream.text(fieldOf(records[i].type) == u"Bitmap Font" ? u"EK" : u"GK");
        stream.text(quoted(fieldOf(records[i].name))).text(CRLF);
        if (stream.size() > KDX_COMMAND_CAPACITY) return false;
    }
    return stream.commit(out, length, KDX_COMMAND_CAPACITY);
}

KDX_EXPORT bool GetFileFormatCmd(const FileRecord *records, int32_t count, uint8_t *out, int32_t *length) {
    if (!records || count < 1) return false;
    StreamBuilder stream;
    stream.text(u"EK\"*\"").text(CRLF).text(u"GK\"*\"").text(CRLF);
    return stream.commit(out, length, KDX_COMMAND_CAPACITY);
}

KDX_EXPORT void GetFilePrintCmd(const FileRecord *record, const PrintSetting *print, uint8_t *out,
                                int32_t *length) {
    if (!record) {
        if (length) *length = 0;
        return;
    }
    const WView name = fieldOf(record->name);
    StreamBuilder stream;
    stream.text(u"N").text(CRLF);
    if (fieldOf(record->type) == u"Bitmap Font") {
        const int64_t rotation = numberOf(print ? viewOf(print->rotation) : WView()) / 90;
        stream.text(u"A").text(decimal(120)).text(u",").text(decimal(300)).text(u",").text(decimal(rotation));
        stream.text(u",").text(name).text(u",1,1,N,\"").text(print ? viewOf(print->testText) : WView());
        stream.text(u"\"").text(CRLF);
    } else {
        stream.text(u"GG").text(decimal(120)).text(u",").text(decimal(300)).text(u",").text(quoted(name)).text(CRLF);
    }
    stream.text(u"P1").text(CRLF);
    if (!stream.commit(out, length, KDX_COMMAND_CAPACITY) && length) *length = 0;
}

}  // extern "C"
