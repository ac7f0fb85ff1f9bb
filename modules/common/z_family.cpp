#include "z_family.h"

#include "indexed_payload.h"
#include "module_support.h"
#include "stream_builder.h"

namespace kdx::zfamily {
namespace {

WView dirMarker(uint8_t memory) { return memory == 0 ? u"DIR R:*.*" : u"DIR E:*.*"; }

StreamBuilder bitmapHeader(bool ram, WView name, WView size) {
    StreamBuilder stream;
    stream.text(ram ? u"~DYR:" : u"~DYE:").text(name).text(u",B,T,").text(size).text(u",10,");
    return stream;
}

}  // namespace

int64_t bitmapFontBound(const CodeRange &range, const FontSetting &font) {
    const int64_t payload = indexedPayloadBound(range, font);
    if (payload < 0) return -1;
    return int64_t(bitmapHeader(false, viewOf(font.fontName), u"0000000000").size()) + payload;
}

bool bitmapFontData(const CodeRange &range, const FontSetting &font, const WidthTable *widths,
                    const uint8_t *glyphs, int32_t glyphLength, uint8_t *out, int32_t *length) {
    const bool ram = font.memory == 0;
    StreamBuilder payload;
    if (!appendIndexedPayload(payload, range, font, widths, glyphs, glyphLength)) return false;
    StreamBuilder stream = bitmapHeader(ram, viewOf(font.fontName), fixedDecimal(int64_t(payload.size()), 10));
    stream.bytes(payload.data(), payload.size());
    return stream.commit(out, length, reportableLength(bitmapFontBound(range, font)));
}

int64_t trueTypeLength(const char16_t *name, int32_t fileSize) {
    StreamBuilder header;
    header.text(u"~DYE:").text(viewOf(name)).text(u",b,T,").text(decimal(fileSize)).text(u",,");
    return int64_t(header.size()) + fileSize;
}

void trueTypeData(const char16_t *name, uint8_t memory, const uint8_t *file, int32_t fileSize,
                  uint8_t *out, int32_t *length) {
    if (fileSize < 0 || (fileSize > 0 && !file)) {
        if (length) *length = 0;
        return;
    }
    StreamBuilder stream;
    stream.text(memory == 0 ? u"~DYR:" : u"~DYE:").text(viewOf(name)).text(u",b,T,");
    stream.text(decimal(fileSize)).text(u",,").bytes(file, size_t(fileSize));
    if (!stream.commit(out, length, reportableLength(trueTypeLength(name, fileSize))) && length)
        *length = 0;
}

int64_t graphicLengthBound(const char16_t *name, int32_t payloadSize) {
    // 100 covers every header for names of up to 61 bytes; longer names get their own room.
    // The longest header is the PNG one: 39 bytes around the name.
    const int64_t header = 39 + int64_t(ansiLength(viewOf(name)));
    return int64_t(payloadSize) + (header > 100 ? header : 100);
}

bool fileGraphicData(const char16_t *name, WView format, uint8_t memory, const uint8_t *payload,
                     int32_t payloadSize, uint8_t *out, int32_t *length) {
    StreamBuilder stream;
    stream.text(memory == 0 ? u"~DYR:" : u"~DYE:").text(viewOf(name));
    stream.text(format == u"BMP" ? u",B,B," : u",B,X,").text(decimal(payloadSize)).text(u",,");
    stream.bytes(payload, size_t(payloadSize));
    return stream.commit(out, length, reportableLength(graphicLengthBound(name, payloadSize)));
}

bool directoryCommand(uint8_t memory, uint8_t *out, int32_t *length) {
    if (memory > 1) return false;
    StreamBuilder stream;
    stream.text(u"^XA").text(CRLF).text(memory == 0 ? u"^HWR:*.*" : u"^HWE:*.*").text(CRLF).text(u"^XZ");
    return stream.commit(out, length, KDX_COMMAND_CAPACITY);
}

bool freeBytes(uint8_t memory, const char *reply, WView dash, int64_t *freeBytesOut) {
    if (memory > 1 || !reply || !freeBytesOut) return false;
    const WString text = replyText(reply);
    const WView all(text);
    if (all.find(dirMarker(memory)) == WView::npos) return false;
    const size_t dashAt = all.find(dash);
    if (dashAt == WView::npos) return false;
    const WView after = all.substr(dashAt + dash.size());
    const size_t freeAt = after.find(u"bytes free");
    if (freeAt == WView::npos) return false;
    *freeBytesOut = numberOf(after.substr(0, freeAt));
    return true;
}

bool fileList(uint8_t memory, uint8_t kind, const char *reply, TypeTable types,
              FileRecord *records, int32_t *count) {
    if (memory > 1 || kind != 0 || !reply || !records || !count) return false;
    const WString whole = replyText(reply);
    WView text(whole);
    if (text.find(dirMarker(memory)) == WView::npos) return false;
    const WView entryMarker = memory == 0 ? u"* R:" : u"* E:";

    int32_t filled = 0;
    for (int pass = 0; pass < KDX_RECORD_CAPACITY; ++pass) {
        const size_t at = text.find(entryMarker);
        if (at == WView::npos) break;
        text = text.substr(at + entryMarker.size());
        const size_t dot = text.find(u'.');
        if (dot == WView::npos) return false;
        const size_t end = dot + 4;  // the end of a three-letter extension
        const WView extension = leftOf(fromPos(text, dot), 4);
        const WView *type = nullptr;
        for (const auto &entry : types)
            if (entry.first == extension) type = &entry.second;
        const WView name = trim(leftOf(text, end));
        text = fromPos(text, end + 1);
        if (!type) continue;
        const size_t lineEnd = text.find(CRLF);
        if (lineEnd == WView::npos) return false;
        FileRecord &record = records[filled];
        fillRecord(record, memoryName(memory), name, *type, decimal(leadingNumber(text.substr(0, lineEnd))));
        ++filled;
    }
    *count = filled;
    return true;
}

}  // namespace kdx::zfamily
