// KDXC: command lines beginning with "! "; every download is one file frame (name, size in
// hexadecimal, 16-bit checksum, data). FLASH only.
#include <optional>

#include "indexed_payload.h"
#include "kdx/module_abi.h"
#include "module_support.h"
#include "stream_builder.h"

using namespace kdx;

namespace {

// Frame text around a file named `fileName`: 31 bytes plus the name. 100 covers names of up to
// 69 bytes; longer names get their own room.
int64_t frameRoom(WView fileName) {
    const int64_t frame = 31 + int64_t(ansiLength(fileName));
    return frame > 100 ? frame : 100;
}

uint16_t checksum(const uint8_t *data, size_t size) {
    uint32_t sum = 0;
    for (size_t i = 0; i < size; ++i) sum += data[i];
    return static_cast<uint16_t>(0x10000 - (sum & 0xFFFF));
}

StreamBuilder frameText(WView fileName, int64_t dataSize, uint16_t sum) {
    StreamBuilder stream;
    stream.text(u"! CISDF").text(CRLF).text(fileName).text(CRLF);
    stream.text(fixedHex(static_cast<uint32_t>(dataSize), 8, true)).text(CRLF);
    stream.text(fixedHex(sum, 4, true)).text(CRLF);
    return stream;
}

bool writeFrame(WView fileName, const uint8_t *data, size_t size, int64_t room, uint8_t *out, int32_t *length) {
    StreamBuilder stream = frameText(fileName, int64_t(size), checksum(data, size));
    stream.bytes(data, size);
    return stream.commit(out, length, reportableLength(room));
}

WString withExtension(const char16_t *name, WView extension) { return WString(viewOf(name)) + WString(extension); }

int64_t fileFrameLength(const char16_t *name, WView extension, int32_t size) {
    return frameRoom(withExtension(name, extension)) + size;
}

std::optional<WView> listedType(WView extension) {
    if (extension == u".PCX") return u"Graphic";
    if (extension == u".TTF") return u"True Type Font";
    if (extension == u".FNT") return u"Bitmap Font";
    return std::nullopt;
}

}  // namespace

extern "C" {

KDX_EXPORT void GetCmdUIProp(CmdUIProp *prop) {
    if (prop) *prop = CmdUIProp{1, 2, 1, 2, 0, 8};
}

KDX_EXPORT void GetExportImgForm(char16_t *formats, int32_t *count) {
    writeFormats(formats, count, u"PCX;", 1);
}

KDX_EXPORT void GetBmpFontLength(const CodeRange *range, const FontSetting *font, int32_t *length) {
    if (!range || !font) return report(length, 0);
    const int64_t payload = indexedPayloadBound(*range, *font);
    report(length, payload < 0 ? -1 : frameRoom(withExtension(font->fontName, u".FNT")) + payload);
}

KDX_EXPORT bool GetBmpFontData(const CodeRange *range, const FontSetting *font, const WidthTable *widths,
                               const uint8_t *glyphs, int32_t glyphLength, uint8_t *out, int32_t *length) {
    if (!range || !font || font->memory != 1) return false;
    StreamBuilder payload;
    if (!appendIndexedPayload(payload, *range, *font, widths, glyphs, glyphLength)) return false;
    const int64_t room = frameRoom(withExtension(font->fontName, u".FNT")) + indexedPayloadBound(*range, *font);
    return writeFrame(withExtension(font->fontName, u".FNT"), payload.data(), payload.size(), room, out, length);
}

KDX_EXPORT void GetTtfFontLength(const char16_t *name, int32_t fileSize, int32_t *length) {
    report(length, fileFrameLength(name, u".TTF", fileSize));
}

KDX_EXPORT void GetTtfFontData(const char16_t *name, uint8_t, const uint8_t *file, int32_t fileSize,
                               uint8_t *out, int32_t *length) {
    if (fileSize < 0 || (fileSize > 0 && !file) ||
        !writeFrame(withExtension(name, u".TTF"), file, size_t(fileSize), fileFrameLength(name, u".TTF", fileSize),
                    out, length)) {
        if (length) *length = 0;
    }
}

KDX_EXPORT void GetGraphicDataLength(const char16_t *name, int32_t payloadSize, int32_t *length) {
    report(length, fileFrameLength(name, u".PCX", payloadSize));
}

KDX_EXPORT bool GetGraphicData(const char16_t *name, const char16_t *format, uint8_t, const uint8_t *payload,
                               int32_t payloadSize, int32_t, int32_t, uint8_t *out, int32_t *length) {
    if (viewOf(name).empty() || viewOf(format) != u"PCX" || !payload || payloadSize < 1) return false;
    return writeFrame(withExtension(name, u".PCX"), payload, size_t(payloadSize),
                      fileFrameLength(name, u".PCX", payloadSize), out, length);
}

KDX_EXPORT bool GetModuleMemCmd(uint8_t memory, uint8_t *out, int32_t *length) {
    if (memory != 1) return false;
    StreamBuilder stream;
    stream.text(u"! U1 DIR").text(CRLF);
    return stream.commit(out, length, KDX_COMMAND_CAPACITY);
}

KDX_EXPORT bool GetModuleMemLen(uint8_t memory, const char *reply, int64_t *freeBytes) {
    if (memory != 1 || !reply || !freeBytes) return false;
    const WString whole = replyText(reply);
    const WView text(whole);
    const size_t marker = text.find(u"Bytes Free");
    if (marker == WView::npos) return false;
    const WView before = text.substr(0, marker);
    const size_t lf = before.rfind(LF);
    if (lf == WView::npos) return false;
    *freeBytes = numberOf(before.substr(lf + 1));
    return true;
}

KDX_EXPORT bool GetFileQueryCmd(uint8_t memory, uint8_t kind, uint8_t *out, int32_t *length) {
    if (kind != 0) return false;
    return GetModuleMemCmd(memory, out, length);
}

KDX_EXPORT bool GetFileQueryResult(uint8_t memory, uint8_t kind, const char *reply, FileRecord *records,
                                   int32_t *count) {
    if (memory != 1 || kind != 0 || !reply || !records || !count) return false;
    const WString whole = replyText(reply);
    WView text(whole);
    if (text.find(u"Bytes Free") == WView::npos) return false;

    int32_t filled = 0;
    for (int pass = 0; pass < KDX_RECORD_CAPACITY; ++pass) {
        const size_t end = text.find(CRLF);
        if (end == WView::npos) break;
        const WView line = text.substr(0, end);
        text = text.substr(end + 2);
        const size_t dot = line.find(u'.');
        if (dot == WView::npos || (dot + 1 < line.size() && line[dot + 1] == u'*')) continue;
        const std::optional<WView> type = listedType(leftOf(line.substr(dot), 4));
        if (!type) continue;
        const WView name = trim(leftOf(line, dot + 4));
        fillRecord(records[filled++], u"FLASH", name, *type, decimal(leadingNumber(fromPos(line, dot + 4))));
    }
    *count = filled;
    return true;
}

KDX_EXPORT bool GetFileDelCmd(const FileRecord *records, int32_t count, uint8_t *out, int32_t *length) {
    if (!records || count < 1) return false;
    StreamBuilder stream;
    for (int32_t i = 0; i < count; ++i) {
        stream.text(u"! U1 DEL ").text(fieldOf(records[i].name)).text(CRLF);
        if (stream.size() > KDX_COMMAND_CAPACITY) return false;
    }
    return stream.commit(out, length, KDX_COMMAND_CAPACITY);
}

KDX_EXPORT bool GetFileFormatCmd(const FileRecord *records, int32_t count, uint8_t *out, int32_t *length) {
    return GetFileDelCmd(records, count, out, length);
}

KDX_EXPORT void GetFilePrintCmd(const FileRecord *record, const PrintSetting *print, uint8_t *out,
                                int32_t *length) {
    auto fail = [length] {
        if (length) *length = 0;
    };
    if (!record) return fail();
    const WView name = fieldOf(record->name);
    const WView type = fieldOf(record->type);
    StreamBuilder stream;
    stream.text(CRLF).text(u"! 0 200 200 300 1").text(CRLF);
    if (type == u"Graphic") {
        const WString x = decimal(numberOf(print ? viewOf(print->x) : WView()));
        const WString y = decimal(numberOf(print ? viewOf(print->y) : WView()));
        stream.text(u"PCX ").text(x).text(u" ").text(y).text(u" !<").text(name).text(CRLF);
    } else {
        StreamBuilder text;
        text.utf8(print ? viewOf(print->testText) : WView());
        if (text.size() > KDX_TEST_TEXT_UTF8_LIMIT) return fail();
        stream.text(u"ENCODING UTF-8").text(CRLF);
        stream.text(type == u"True Type Font" ? u"ST " : u"T ").text(name);
        stream.text(type == u"True Type Font" ? u" 10 10 50 50 " : u" 00 50 50 ");
        stream.bytes(text.data(), text.size()).text(CRLF);
    }
    stream.text(u"PRINT").text(CRLF);
    if (!stream.commit(out, length, KDX_COMMAND_CAPACITY)) fail();
}

}  // extern "C"
