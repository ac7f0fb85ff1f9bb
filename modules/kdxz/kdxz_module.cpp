// KDXZ: commands that begin with "^" or "~"; bitmap fonts as the indexed payload behind "~DY".
#include "kdx/module_abi.h"
#include "module_support.h"
#include "stream_builder.h"
#include "z_family.h"

using namespace kdx;

namespace {

bool isGraphicFormat(WView format) {
    return format == u"BMP" || format == u"PCX" || format == u"GRF" || format == u"PNG";
}

// ^XA, one ^ID line per record, ^XZ.
bool deleteCommand(const FileRecord *records, int32_t count, uint8_t *out, int32_t *length) {
    if (!records || count < 1) return false;
    StreamBuilder stream;
    stream.text(u"^XA").text(CRLF);
    for (int32_t i = 0; i < count; ++i) {
        stream.text(u"^ID").text(zfamily::drive(isRam(records[i]))).text(fieldOf(records[i].name));
        stream.text(u"^FS").text(CRLF);
        if (stream.size() > KDX_COMMAND_CAPACITY) return false;
    }
    stream.text(u"^XZ").text(CRLF);
    return stream.commit(out, length, KDX_COMMAND_CAPACITY);
}

}  // namespace

extern "C" {

KDX_EXPORT void GetCmdUIProp(CmdUIProp *prop) {
    if (prop) *prop = CmdUIProp{1, 2, 1, 2, 0, 8};
}

KDX_EXPORT void GetExportImgForm(char16_t *formats, int32_t *count) {
    writeFormats(formats, count, u"BMP;GRF;PNG;", 3);
}

KDX_EXPORT void GetBmpFontLength(const CodeRange *range, const FontSetting *font, int32_t *length) {
    if (range && font) report(length, zfamily::bitmapFontBound(*range, *font));
    else report(length, 0);
}

KDX_EXPORT bool GetBmpFontData(const CodeRange *range, const FontSetting *font, const WidthTable *widths,
                               const uint8_t *glyphs, int32_t glyphLength, uint8_t *out, int32_t *length) {
    if (!range || !font) return false;
    return zfamily::bitmapFontData(*range, *font, widths, glyphs, glyphLength, out, length);
}

KDX_EXPORT void GetTtfFontLength(const char16_t *name, int32_t fileSize, int32_t *length) {
    report(length, zfamily::trueTypeLength(name, fileSize));
}

KDX_EXPORT void GetTtfFontData(const char16_t *name, uint8_t memory, const uint8_t *file, int32_t fileSize,
                               uint8_t *out, int32_t *length) {
    zfamily::trueTypeData(name, memory, file, fileSize, out, length);
}

KDX_EXPORT void GetGraphicDataLength(const char16_t *name, int32_t payloadSize, int32_t *length) {
    report(length, zfamily::graphicLengthBound(name, payloadSize));
}

KDX_EXPORT bool GetGraphicData(const char16_t *name, const char16_t *format, uint8_t memory,
                               const uint8_t *payload, int32_t payloadSize, int32_t imageBytes,
                               int32_t rowBytes, uint8_t *out, int32_t *length) {
    const WView kind = viewOf(format);
    if (viewOf(name).empty() || !isGraphicFormat(kind) || memory > 1 || !payload || payloadSize < 1)
        return false;
    if (kind == u"BMP" || kind == u"PCX")
        return zfamily::fileGraphicData(name, kind, memory, payload, payloadSize, out, length);
    const bool ram = memory == 0;
    StreamBuilder stream;
    if (kind == u"GRF") {
        stream.text(ram ? u"~DGR:" : u"~DGE:").text(viewOf(name)).text(u".GRF,");
        stream.text(decimal(imageBytes)).text(u",").text(decimal(rowBytes)).text(u",");
    } else {
        stream.text(ram ? u"~DYR:" : u"~DYE:").text(viewOf(name)).text(u",P,P,");
        stream.text(decimal(imageBytes)).text(u",").text(decimal(rowBytes)).text(u",:B64:");
    }
    stream.bytes(payload, size_t(payloadSize));
    return stream.commit(out, length, reportableLength(zfamily::graphicLengthBound(name, payloadSize)));
}

KDX_EXPORT bool GetModuleMemCmd(uint8_t memory, uint8_t *out, int32_t *length) {
    return zfamily::directoryCommand(memory, out, length);
}

KDX_EXPORT bool GetModuleMemLen(uint8_t memory, const char *reply, int64_t *freeBytes) {
    return zfamily::freeBytes(memory, reply, u"-  ", freeBytes);
}

KDX_EXPORT bool GetFileQueryCmd(uint8_t memory, uint8_t kind, uint8_t *out, int32_t *length) {
    if (kind != 0) return false;
    return zfamily::directoryCommand(memory, out, length);
}

KDX_EXPORT bool GetFileQueryResult(uint8_t memory, uint8_t kind, const char *reply, FileRecord *records,
                                   int32_t *count) {
    return zfamily::fileList(memory, kind, reply,
                             {{u".BMP", u"Graphic"}, {u".GRF", u"Graphic"}, {u".PNG", u"Graphic"},
                              {u".TTF", u"Font"}},
                             records, count);
}

KDX_EXPORT bool GetFileDelCmd(const FileRecord *records, int32_t count, uint8_t *out, int32_t *length) {
    return deleteCommand(records, count, out, length);
}

KDX_EXPORT bool GetFileFormatCmd(const FileRecord *records, int32_t count, uint8_t *out, int32_t *length) {
    if (!records || count < 1) return false;
    if (isRam(records[0])) return deleteCommand(records, count, out, length);
    StreamBuilder stream;
    stream.text(u"^XA").text(CRLF).text(u"^JBE").text(CRLF).text(u"^XZ");
    return stream.commit(out, length, KDX_COMMAND_CAPACITY);
}

KDX_EXPORT void GetFilePrintCmd(const FileRecord *record, const PrintSetting *print, uint8_t *out,
                                int32_t *length) {
    if (!record) {
        if (length) *length = 0;
        return;
    }
    const WView drive = zfamily::drive(isRam(*record));
    const WView name = fieldOf(record->name);
    StreamBuilder stream;
    stream.text(u"^XA").text(CRLF);
    if (fieldOf(record->type) == u"Font") {
        const WView testText = print ? viewOf(print->testText) : WView();
        StreamBuilder text;
        text.utf8(testText);
        if (text.size() > KDX_TEST_TEXT_UTF8_LIMIT) {
            if (length) *length = 0;
            return;
        }
        stream.text(u"^CWJ,").text(drive).text(name).text(CRLF);
        stream.text(u"^CI28").text(CRLF).text(u"^CFJ,16,16").text(CRLF);
        stream.text(u"^FO").text(decimal(20)).text(u",").text(decimal(150)).text(CRLF);
        stream.text(u"^FD").bytes(text.data(), text.size()).text(u"^FS").text(CRLF).text(u"^XZ").text(CRLF);
    } else {
        stream.text(u"^FO").text(decimal(20)).text(u",").text(decimal(150)).text(CRLF);
        stream.text(u"^IM").text(drive).text(name).text(u"^FS").text(CRLF).text(u"^XZ").text(CRLF);
    }
    if (!stream.commit(out, length, KDX_COMMAND_CAPACITY) && length) *length = 0;
}

}  // extern "C"
