// KDXA: commands introduced by SOH or STX; memory addressed by module letter ("A" RAM,
// "B" FLASH); bitmap fonts as fixed-size character cells behind a one-line header.
#include <optional>
#include <vector>

#include "kdx/module_abi.h"
#include "module_support.h"
#include "selected_characters.h"
#include "stream_builder.h"

using namespace kdx;

namespace {

constexpr char16_t SOH = u'\x01';
constexpr char16_t STX = u'\x02';

bool isLargeSet(const CodeRange &range) { return (range.largeSet & 0xFF) != 0; }
uint32_t low16(int32_t code) { return static_cast<uint32_t>(code) & 0xFFFF; }

int64_t cellBytes(const FontSetting &font) {
    return (int64_t(font.cellWidth) + 7) / 8 * font.cellHeight;
}

// Cells the stream announces: one per code from firstCode to lastCode for small sets.
int64_t announcedCells(const CodeRange &range) {
    if (isLargeSet(range)) return range.charCount;
    const int64_t span = int64_t(low16(range.lastCode)) - low16(range.firstCode) + 1;
    return span > 0 ? span : 0;
}

// The set code of a large set is told by its character count: each count is one of the
// host's Asian code tables.
std::optional<int> setCode(const CodeRange &range) {
    if (!isLargeSet(range)) return 0;
    switch (range.charCount) {
        case 6768: return 1;   // GB2312
        case 13973: return 5;  // Big5
        case 7812: return 7;   // JIS
        case 3336: return 6;   // KSC
        case 28576: return 2;  // GB18030-2000
        default: return std::nullopt;
    }
}

WString rangeField(const CodeRange &range, int set) {
    const uint32_t first = low16(range.firstCode);
    switch (set) {
        case 0:
            return u"00" + fixedHex(first, 2, false) +
                   fixedDecimal(int64_t(low16(range.lastCode)) - first + 1, 4);
        case 1:
        case 6:
        case 7:
            return fixedHex(first / 256, 2, false) + fixedHex(first % 256, 2, false) +
                   fixedDecimal(range.charCount, 4);
        default:
            return u"00" + fixedDecimal(range.charCount, 6);
    }
}

WView moduleLetter(bool ram) { return ram ? u"A" : u"B"; }

int64_t fontBound(const CodeRange &range, const FontSetting &font) {
    if (font.cellWidth < 0 || font.cellHeight < 0) return -1;
    StreamBuilder header;
    header.text(WString{SOH} + u"D" + CRLF + STX + u"bB000").text(viewOf(font.fontName)).text(u"\r");
    return int64_t(header.size()) + 16 + cellBytes(font) * announcedCells(range);
}

// Small sets: one cell per code from firstCode on, zero cells filling codes the table lacks.
// The walk must not place more cells than the stream announces, which a table whose codes do
// not ascend would make it do.
bool appendSmallSetCells(StreamBuilder &stream, const CodeRange &range, const FontSetting &font,
                         const uint8_t *glyphs, int32_t glyphLength) {
    const auto runs = selectedRuns(range, font.encoding);
    if (!runs) return false;
    const int64_t cell = cellBytes(font);
    const int64_t limit = announcedCells(range);
    if (int64_t(glyphLength) < cell * range.charCount) return false;

    const std::vector<uint8_t> blank(static_cast<size_t>(cell), 0);
    const int64_t first = low16(range.firstCode);
    int64_t written = 0;
    bool fits = true;
    forEachCharacter(*runs, [&](uint32_t code, int64_t index) {
        if (!fits) return;
        const int64_t behind = int64_t(code) - first - written;
        const int64_t gap = behind > 0 ? behind : 0;
        if (written + gap + 1 > limit) {
            fits = false;
            return;
        }
        for (int64_t i = 0; i < gap; ++i) stream.bytes(blank.data(), blank.size());
        written += gap;
        stream.bytes(glyphs + index * cell, static_cast<size_t>(cell));
        ++written;
    });
    return fits;
}

// The graphic header has the same length for every memory and format.
int64_t graphicLength(const char16_t *name, int32_t payloadSize) {
    StreamBuilder header;
    header.text(WString{SOH} + u"D" + CRLF + STX + u"IAB").text(viewOf(name)).text(u"\r");
    return int64_t(header.size()) + payloadSize;
}

bool deleteOrFormatInputs(const FileRecord *records, int32_t count) { return records && count >= 1; }

}  // namespace

extern "C" {

KDX_EXPORT void GetCmdUIProp(CmdUIProp *prop) {
    if (prop) *prop = CmdUIProp{0, 0, 0, 1, 1, 8};
}

KDX_EXPORT void GetExportImgForm(char16_t *formats, int32_t *count) {
    writeFormats(formats, count, u"BMP;PCX;", 2);
}

KDX_EXPORT void GetBmpFontLength(const CodeRange *range, const FontSetting *font, int32_t *length) {
    report(length, range && font ? fontBound(*range, *font) : 0);
}

KDX_EXPORT bool GetBmpFontData(const CodeRange *range, const FontSetting *font, const WidthTable *,
                               const uint8_t *glyphs, int32_t glyphLength, uint8_t *out, int32_t *length) {
    if (!range || !font || !glyphs || glyphLength < 1 || font->cellWidth < 1 || font->cellHeight < 1)
        return false;
    const std::optional<int> set = setCode(*range);
    if (!set) return false;

    StreamBuilder stream;
    stream.text(WString{SOH} + u"D" + CRLF + STX + u"b").text(moduleLetter(font->memory == 0));
    stream.text(decimal(*set)).text(fixedDecimal(font->fontId, 2)).text(viewOf(font->fontName)).text(u"\r");
    stream.text(fixedDecimal(font->cellWidth, 4)).text(fixedDecimal(font->cellHeight, 4));
    stream.text(rangeField(*range, *set));
    if (isLargeSet(*range)) {
        stream.bytes(glyphs, size_t(glyphLength));
    } else if (!appendSmallSetCells(stream, *range, *font, glyphs, glyphLength)) {
        return false;
    }
    return stream.commit(out, length, reportableLength(fontBound(*range, *font)));
}

KDX_EXPORT void GetTtfFontLength(const char16_t *, int32_t, int32_t *length) {
    if (length) *length = 0;
}

KDX_EXPORT void GetTtfFontData(const char16_t *, uint8_t, const uint8_t *, int32_t, uint8_t *, int32_t *length) {
    if (length) *length = 0;
}

KDX_EXPORT void GetGraphicDataLength(const char16_t *name, int32_t payloadSize, int32_t *length) {
    report(length, graphicLength(name, payloadSize));
}

KDX_EXPORT bool GetGraphicData(const char16_t *name, const char16_t *format, uint8_t memory,
                               const uint8_t *payload, int32_t payloadSize, int32_t, int32_t,
                               uint8_t *out, int32_t *length) {
    const WView kind = viewOf(format);
    if (viewOf(name).empty() || (kind != u"BMP" && kind != u"PCX") || memory > 1 || !payload || payloadSize < 1)
        return false;
    StreamBuilder stream;
    stream.text(WString{SOH} + u"D" + CRLF + STX + u"I").text(moduleLetter(memory == 0));
    stream.text(kind == u"BMP" ? u"B" : u"P").text(viewOf(name)).text(u"\r").bytes(payload, size_t(payloadSize));
    return stream.commit(out, length, reportableLength(graphicLength(name, payloadSize)));
}

KDX_EXPORT bool GetModuleMemCmd(uint8_t memory, uint8_t *out, int32_t *length) {
    if (memory > 1) return false;
    StreamBuilder stream;
    stream.text(WString{STX} + u"WF");
    return stream.commit(out, length, KDX_COMMAND_CAPACITY);
}

}  // extern "C"

namespace {

// Skips to the module's section: past one "MODULE" for RAM, three for FLASH.
std::optional<WView> moduleSection(uint8_t memory, WView text) {
    const int skips = memory == 0 ? 1 : 3;
    for (int i = 0; i < skips; ++i) {
        const size_t at = text.find(u"MODULE");
        if (at == WView::npos) return std::nullopt;
        text = text.substr(at + 6);
    }
    return text;
}

}  // namespace

extern "C" {

KDX_EXPORT bool GetModuleMemLen(uint8_t memory, const char *reply, int64_t *freeBytes) {
    if (memory > 1 || !reply || !freeBytes) return false;
    const WString whole = replyText(reply);
    std::optional<WView> text = moduleSection(memory, whole);
    if (!text) return false;
    const size_t available = text->find(u"AVAILABLE");
    if (available == WView::npos) return false;
    WView line = text->substr(available);
    const size_t cr = line.find(CR);
    if (cr == WView::npos) return false;
    line = line.substr(0, cr);
    const size_t colon = line.find(u':');
    if (colon == WView::npos) return false;
    line = line.substr(colon + 1);
    if (const size_t bytes = line.find(u"BYTES"); bytes != WView::npos) line = line.substr(0, bytes);
    *freeBytes = numberOf(line);
    return true;
}

KDX_EXPORT bool GetFileQueryCmd(uint8_t memory, uint8_t kind, uint8_t *out, int32_t *length) {
    if (memory > 1 || (kind != 1 && kind != 2)) return false;
    StreamBuilder stream;
    stream.text(WString{STX} + u"W" + (kind == 1 ? u"F" : u"G"));
    return stream.commit(out, length, KDX_COMMAND_CAPACITY);
}

KDX_EXPORT bool GetFileQueryResult(uint8_t memory, uint8_t kind, const char *reply, FileRecord *records,
                                   int32_t *count) {
    if (memory > 1 || (kind != 1 && kind != 2) || !reply || !records || !count) return false;
    const WString whole = replyText(reply);
    std::optional<WView> section = moduleSection(memory, whole);
    if (!section) return false;
    WView text = *section;
    const size_t cr = text.find(CR);
    if (cr == WView::npos) return false;
    text = text.substr(cr + 1);
    if (!text.empty() && text.front() == LF) text = text.substr(1);
    const size_t available = text.find(u"AVAILABLE");
    if (available == WView::npos) return false;
    text = text.substr(0, available);

    const WView type = kind == 1 ? u"Bitmap Font" : u"Graphic";
    int32_t filled = 0;
    while (filled < KDX_RECORD_CAPACITY) {
        const size_t end = text.find(CR);
        if (end == WView::npos) break;
        const WView name = trim(text.substr(0, end));
        if (name.empty()) break;
        fillRecord(records[filled++], memoryName(memory), name, type, u"");
        text = text.substr(end + 1);
    }
    *count = filled;
    return true;
}

KDX_EXPORT bool GetFileDelCmd(const FileRecord *records, int32_t count, uint8_t *out, int32_t *length) {
    if (!deleteOrFormatInputs(records, count)) return false;
    StreamBuilder stream;
    for (int32_t i = 0; i < count; ++i) {
        stream.text(WString{STX} + u"x").text(moduleLetter(isRam(records[i])));
        stream.text(fieldOf(records[i].type) == u"Bitmap Font" ? u"F" : u"G");
        stream.text(fieldOf(records[i].name)).text(CRLF);
        if (stream.size() > KDX_COMMAND_CAPACITY) return false;
    }
    return stream.commit(out, length, KDX_COMMAND_CAPACITY);
}

KDX_EXPORT bool GetFileFormatCmd(const FileRecord *records, int32_t count, uint8_t *out, int32_t *length) {
    if (!deleteOrFormatInputs(records, count)) return false;
    StreamBuilder stream;
    stream.text(WString{STX} + u"q").text(moduleLetter(isRam(records[0]))).text(CRLF);
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
    stream.text(WString{STX} + u"L\rN\r");
    if (fieldOf(record->type) == u"Bitmap Font") {
        stream.text(u"3911").text(name).text(fixedDecimal(10, 4)).text(fixedDecimal(120, 4));
        stream.text(print ? viewOf(print->testText) : WView()).text(u"\r");
    } else {
        stream.text(u"1Y11000").text(fixedDecimal(10, 4)).text(fixedDecimal(120, 4)).text(name).text(u"\r");
    }
    stream.text(u"Q0001\rE\r");
    if (!stream.commit(out, length, KDX_COMMAND_CAPACITY) && length) *length = 0;
}

}  // extern "C"
