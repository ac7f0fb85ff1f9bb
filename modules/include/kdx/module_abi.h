/*
 * The binary interface of a printer language module.
 *
 * A language module is a shared library <app>/DLL/<NAME>.so (NAME is KDXZ, KDXT, KDXA, KDXC
 * or KDXE) that exports exactly the fifteen procedures below with C linkage. The host binds
 * them by name with dlsym. A module keeps no state: every procedure reads its parameters,
 * writes only into the caller's buffers and out parameters, and may be called from any thread.
 *
 * Conventions shared by every procedure:
 *  - Wide strings are NUL-terminated UTF-16 (char16_t, host byte order). A null pointer is
 *    read as the empty string.
 *  - Command text is converted to the ANSI code page (KDX_CODEPAGE or the locale); only the
 *    test texts of KDXZ and KDXC are sent as UTF-8. No terminating NUL follows a command.
 *  - A procedure that returns bool returns false on refusal and then writes nothing: neither
 *    the output buffer nor the out length changes.
 *  - Command buffers have room for KDX_COMMAND_CAPACITY bytes; a command that would not fit is
 *    refused. Data procedures never write more than their length procedure reported for the
 *    same inputs; a stream that would pass that bound is refused.
 *  - Replies are NUL-terminated byte strings; at most KDX_REPLY_CAPACITY bytes are read.
 *  - A file-list call writes and reports at most KDX_RECORD_CAPACITY records.
 */
#ifndef KDX_MODULE_ABI_H
#define KDX_MODULE_ABI_H

#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#include <uchar.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

#if defined(KDX_BUILDING_MODULE)
#define KDX_EXPORT __attribute__((visibility("default")))
#else
#define KDX_EXPORT
#endif

enum {
    KDX_COMMAND_CAPACITY = 65536, /* bytes of a command buffer */
    KDX_REPLY_CAPACITY = 1024,    /* bytes of a printer reply before its NUL */
    KDX_RECORD_CAPACITY = 100,    /* FileRecords per file-list call */
    KDX_TEST_TEXT_UTF8_LIMIT = 1000, /* bytes of a test text sent as UTF-8 */
    KDX_FORMATS_CAPACITY = 64     /* UTF-16 units of the GetExportImgForm buffer */
};

/* Which bitmap-font options the language allows. */
struct CmdUIProp {
    uint8_t encodingSupport; /* 0 MBCS only, 1 Unicode only, 2 both */
    uint8_t setSizeSupport;  /* 0 up to 256 characters, 1 more than 256, other: both */
    uint8_t tableVariant;    /* 1: first set of code tables, other: the variant set */
    uint8_t widthMode;       /* 0 proportional, 1 fixed width, 2 user's choice */
    uint8_t fontIdSupport;   /* 1: fonts are identified by a number */
    uint8_t maxNameLength;   /* longest font name in ANSI bytes */
};

/* The code table in use and the selected characters. Rows hold three 16-bit values for MBCS
 * tables (first code, -, count) and two for Unicode tables (first code, count). */
struct CodeRange {
    const uint16_t *table;
    int32_t rowCount;
    int32_t firstRow;
    int32_t firstOffset;
    int32_t firstCode;
    int32_t lastRow;
    int32_t lastOffset;
    int32_t lastCode;
    int32_t charCount;
    int32_t largeSet;
};

/* The font being downloaded. */
struct FontSetting {
    uint8_t encoding;   /* 0 MBCS, 1 Unicode */
    uint8_t startCode;  /* not read by modules */
    uint8_t endCode;    /* not read by modules */
    int32_t fixedWidth; /* 1: every glyph has the cell width */
    int32_t cellWidth;
    int32_t cellHeight;
    const char16_t *fontName;
    uint16_t fontId;
    uint8_t memory;     /* memory selector: 0 RAM, 1 FLASH */
};

/* Per-character advance widths, indexed by character index. */
struct WidthTable {
    uint16_t ascent;
    uint16_t height;
    uint16_t width;
    uint16_t widths[65536];
};

/* One file in printer memory; every field is NUL-terminated and cut to fit. */
struct FileRecord {
    char16_t memory[8];
    char16_t name[260];
    char16_t type[32];
    char16_t size[24];
};

/* The settings of a test print. */
struct PrintSetting {
    const char16_t *cmdType;
    const char16_t *memType;
    const char16_t *x;
    const char16_t *y;
    const char16_t *rotation;
    const char16_t *testText;
};

/* Fills the language's bitmap-font options. Never refuses. */
KDX_EXPORT void GetCmdUIProp(struct CmdUIProp *prop);

/* Writes the accepted graphic formats, each followed by ";", NUL-terminated, into a buffer of
 * KDX_FORMATS_CAPACITY units, and their number into count. Never refuses. */
KDX_EXPORT void GetExportImgForm(char16_t *formats, int32_t *count);

/* Reports an upper bound of the bitmap-font stream that GetBmpFontData writes for the same
 * range and font. Never refuses; impossible inputs give 0. */
KDX_EXPORT void GetBmpFontLength(const struct CodeRange *range, const struct FontSetting *font,
                                 int32_t *length);

/* Writes the bitmap-font download stream. Refuses missing or empty glyph data, a range that
 * does not describe charCount characters of its table, and a stream that would pass the
 * GetBmpFontLength bound; each module adds its own refusals (KDXA: unknown large-set counts;
 * KDXA and KDXE, which read the glyphs one by one: glyph data shorter than the glyphs it must
 * copy; KDXC: any memory but FLASH). */
KDX_EXPORT bool GetBmpFontData(const struct CodeRange *range, const struct FontSetting *font,
                               const struct WidthTable *widths, const uint8_t *glyphs,
                               int32_t glyphLength, uint8_t *out, int32_t *length);

/* Reports the exact length of the TrueType download of a file of fileSize bytes (0 for
 * languages without TrueType download). Never refuses. */
KDX_EXPORT void GetTtfFontLength(const char16_t *name, int32_t fileSize, int32_t *length);

/* Writes the TrueType download stream. Writes nothing and reports 0 for languages without
 * TrueType download, a negative size, or missing file bytes. */
KDX_EXPORT void GetTtfFontData(const char16_t *name, uint8_t memory, const uint8_t *file,
                               int32_t fileSize, uint8_t *out, int32_t *length);

/* Reports an upper bound of the graphic download stream for a payload of payloadSize bytes.
 * Never refuses. */
KDX_EXPORT void GetGraphicDataLength(const char16_t *name, int32_t payloadSize, int32_t *length);

/* Writes the graphic download stream. Refuses an empty name, a format the language does not
 * take, a selector it does not take, a missing payload or a payload size below 1. */
KDX_EXPORT bool GetGraphicData(const char16_t *name, const char16_t *format, uint8_t memory,
                               const uint8_t *payload, int32_t payloadSize, int32_t imageBytes,
                               int32_t rowBytes, uint8_t *out, int32_t *length);

/* Writes the free-memory query. Refuses a selector the language does not take. */
KDX_EXPORT bool GetModuleMemCmd(uint8_t memory, uint8_t *out, int32_t *length);

/* Reads the free bytes from the printer's reply. Refuses a selector the language does not
 * take, a missing reply and a reply without the language's markers. */
KDX_EXPORT bool GetModuleMemLen(uint8_t memory, const char *reply, int64_t *freeBytes);

/* Writes the file-list query for a query kind (0 all, 1 fonts, 2 graphics). Refuses a
 * selector or kind the language does not take. */
KDX_EXPORT bool GetFileQueryCmd(uint8_t memory, uint8_t kind, uint8_t *out, int32_t *length);

/* Parses the file-list reply into at most KDX_RECORD_CAPACITY records. Refuses a selector or
 * kind the language does not take, a missing reply and a reply without the language's
 * markers; records filled before a refusal in the middle of the list stay filled. */
KDX_EXPORT bool GetFileQueryResult(uint8_t memory, uint8_t kind, const char *reply,
                                   struct FileRecord *records, int32_t *count);

/* Writes the command that deletes the given files. Refuses missing records, a count below 1
 * and a command longer than KDX_COMMAND_CAPACITY. */
KDX_EXPORT bool GetFileDelCmd(const struct FileRecord *records, int32_t count, uint8_t *out,
                              int32_t *length);

/* Writes the command that formats the memory of the given files. Refuses missing records, a
 * count below 1 and a command longer than KDX_COMMAND_CAPACITY. */
KDX_EXPORT bool GetFileFormatCmd(const struct FileRecord *records, int32_t count, uint8_t *out,
                                 int32_t *length);

/* Writes the test print of one file. Reports a length of 0 and writes nothing when the file
 * cannot be test-printed, when a UTF-8 test text passes KDX_TEST_TEXT_UTF8_LIMIT, or when the
 * command would pass KDX_COMMAND_CAPACITY. */
KDX_EXPORT void GetFilePrintCmd(const struct FileRecord *record, const struct PrintSetting *print,
                                uint8_t *out, int32_t *length);

/* Function-pointer types for binding with dlsym. */
typedef void (*GetCmdUIPropFn)(struct CmdUIProp *);
typedef void (*GetExportImgFormFn)(char16_t *, int32_t *);
typedef void (*GetBmpFontLengthFn)(const struct CodeRange *, const struct FontSetting *, int32_t *);
typedef bool (*GetBmpFontDataFn)(const struct CodeRange *, const struct FontSetting *,
                                 const struct WidthTable *, const uint8_t *, int32_t, uint8_t *,
                                 int32_t *);
typedef void (*GetTtfFontLengthFn)(const char16_t *, int32_t, int32_t *);
typedef void (*GetTtfFontDataFn)(const char16_t *, uint8_t, const uint8_t *, int32_t, uint8_t *,
                                 int32_t *);
typedef void (*GetGraphicDataLengthFn)(const char16_t *, int32_t, int32_t *);
typedef bool (*GetGraphicDataFn)(const char16_t *, const char16_t *, uint8_t, const uint8_t *,
                                 int32_t, int32_t, int32_t, uint8_t *, int32_t *);
typedef bool (*GetModuleMemCmdFn)(uint8_t, uint8_t *, int32_t *);
typedef bool (*GetModuleMemLenFn)(uint8_t, const char *, int64_t *);
typedef bool (*GetFileQueryCmdFn)(uint8_t, uint8_t, uint8_t *, int32_t *);
typedef bool (*GetFileQueryResultFn)(uint8_t, uint8_t, const char *, struct FileRecord *,
                                     int32_t *);
typedef bool (*GetFileDelCmdFn)(const struct FileRecord *, int32_t, uint8_t *, int32_t *);
typedef bool (*GetFileFormatCmdFn)(const struct FileRecord *, int32_t, uint8_t *, int32_t *);
typedef void (*GetFilePrintCmdFn)(const struct FileRecord *, const struct PrintSetting *,
                                  uint8_t *, int32_t *);

#ifdef __cplusplus
} /* extern "C" */

#include <cstddef>
static_assert(sizeof(CmdUIProp) == 6);
static_assert(sizeof(CodeRange) == 48);
static_assert(offsetof(CodeRange, table) == 0 && offsetof(CodeRange, rowCount) == 8 &&
              offsetof(CodeRange, firstRow) == 12 && offsetof(CodeRange, firstOffset) == 16 &&
              offsetof(CodeRange, firstCode) == 20 && offsetof(CodeRange, lastRow) == 24 &&
              offsetof(CodeRange, lastOffset) == 28 && offsetof(CodeRange, lastCode) == 32 &&
              offsetof(CodeRange, charCount) == 36 && offsetof(CodeRange, largeSet) == 40);
static_assert(sizeof(FontSetting) == 32);
static_assert(offsetof(FontSetting, encoding) == 0 && offsetof(FontSetting, startCode) == 1 &&
              offsetof(FontSetting, endCode) == 2 && offsetof(FontSetting, fixedWidth) == 4 &&
              offsetof(FontSetting, cellWidth) == 8 && offsetof(FontSetting, cellHeight) == 12 &&
              offsetof(FontSetting, fontName) == 16 && offsetof(FontSetting, fontId) == 24 &&
              offsetof(FontSetting, memory) == 26);
static_assert(sizeof(WidthTable) == 6 + 131072);
static_assert(offsetof(WidthTable, widths) == 6);
static_assert(sizeof(FileRecord) == 2 * (8 + 260 + 32 + 24));
static_assert(offsetof(FileRecord, name) == 16 && offsetof(FileRecord, type) == 536 &&
              offsetof(FileRecord, size) == 600);
static_assert(sizeof(PrintSetting) == 48);
static_assert(sizeof(bool) == 1 && sizeof(char16_t) == 2);
#else
_Static_assert(sizeof(struct CmdUIProp) == 6, "CmdUIProp");
_Static_assert(sizeof(struct CodeRange) == 48, "CodeRange");
_Static_assert(sizeof(struct FontSetting) == 32, "FontSetting");
_Static_assert(sizeof(struct WidthTable) == 6 + 131072, "WidthTable");
_Static_assert(sizeof(struct FileRecord) == 648, "FileRecord");
#endif

#endif /* KDX_MODULE_ABI_H */
