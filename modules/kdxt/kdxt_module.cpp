// KDXT: the downloads and directory queries of the "^"/"~" family, with its own plain-text
// file management and test-print lines ("KILL ", "PUT", "PRINT 1").
#include "kdx/module_abi.h"
#include "module_support.h"
#include "stream_builder.h"
#include "text_codec.h"
#include "z_family.h"

using namespace kdx;

namespace {

WView killPrefix(const FileRecord &record) { return isRam(record) ? u"KILL " : u"KILL F,"; }

// The code page a font test print announces, chosen by the system's language.
WView codePageText(int languageId) {
    switch (languageId) {
        case 2052: return u"936";
        case 1028: return u"950";
        case 1041: return u"932";
        case 1042: return u"949";
        default: return u"437";
    }
}

}  // namespace

extern "C" {

KDX_EXPORT void GetCmdUIProp(CmdUIProp *prop) {
    if (prop) *prop = CmdUIProp{1, 2, 1, 2, 0, 8};
}

KDX_EXPORT void GetExportImgForm(char16_t *formats, int32_t *count) {
    writeFormats(formats, count, u"BMP;PCX;", 2);
}

KDX_EXPORT void GetBmpFontLength(const CodeRange *range, const FontSetting *font, int32_t *length) {
    report(length, range && font ? zfamily::bitmapFontBound(*range, *font) : 0);
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
                               const uint8_t *payload, int32_t payloadSize, int32_t, int32_t,
                               uint8_t *out, int32_t *length) {
    const WView kind = viewOf(format);
    if (viewOf(name).empty() || (kind != u"BMP" && kind != u"PCX") || memory > 1 || !payload || payloadSize < 1)
        return false;
    return zfamily::fileGraphicData(name, kind, memory, payload, payloadSize, out, length);
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
                             {{u".BMP", u"Graphic"}, {u".PCX", u"Graphic"}, {u".TTF", u"Font"}}, records,
                             count);
}

KDX_EXPORT bool GetFileDelCmd(const FileRecord *records, int32_t count, uint8_t *out, int32_t *length) {
    if (!records || count < 1) return false;
    StreamBuilder stream;
    for (int32_t i = 0; i < count; ++i) {
        stream.text(killPrefix(records[i])).text(u"\"").text(fieldOf(records[i].name)).text(u"\"").text(CRLF);
        if (stream.size() > KDX_COMMAND_CAPACITY) return false;
    }
    return stream.commit(out, length, KDX_COMMAND_CAPACITY);
}

KDX_EXPORT bool GetFileFormatCmd(const FileRecord *records, int32_t count, uint8_t *out, int32_t *length) {
    if (!records || count < 1) return false;
    StreamBuilder stream;
    stream.text(killPrefix(records[0])).text(u"\"*\"").text(CRLF);
    return stream.commit(out, length, KDX_COMMAND_CAPACITY);
}

KDX_EXPORT void GetFilePrintCmd(const FileRecord *record, const PrintSetting *print, uint8_t *out,
                                int32_t *length) {
    auto fail = [length] {
        if (length) *length = 0;
    };
    if (!record) return fail();
    const WString x = decimal(numberOf(print ? viewOf(print->x) : WView()));
    const WString y = decimal(numberOf(print ? viewOf(print->y) : WView()));
    const WView name = fieldOf(record->name);
    const size_t dot = name.find(u'.');
    const WString extension = dot == WView::npos ? WString() : toUpperAscii(name.substr(dot + 1));
    const bool font = fieldOf(record->type) == u"Font";
    if (!font && extension != u"BMP" && extension != u"PCX") return fail();

    StreamBuilder stream;
    if (font) {
        stream.text(u"CODEPAGE ").text(codePageText(systemLanguageId())).text(CRLF);
        stream.text(u"CLS").text(CRLF);
        stream.text(u"TEXT ").text(x).text(u",").text(y).text(u",\"").text(name).text(u"\",0,1,1,\"");
        stream.text(print ? viewOf(print->testText) : WView()).text(u"\"").text(CRLF);
    } else {
        stream.text(u"CLS").text(CRLF);
        stream.text(u"PUT").text(extension).text(u" ").text(x).text(u",").text(y).text(u",\"").text(name);
        stream.text(u"\"").text(CRLF);
    }
    stream.text(u"PRINT 1").text(CRLF);
    if (!stream.commit(out, length, KDX_COMMAND_CAPACITY)) fail();
}

}  // extern "C"
