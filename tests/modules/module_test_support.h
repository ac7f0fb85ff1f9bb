// Shared pieces of the language-module tests: binding a built module through the host, byte
// strings with a readable diff, output buffers that show whether a call wrote anything or wrote
// past its room, and builders for the records that cross the module boundary.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kdx/module_abi.h"

namespace kdxtest {

// A byte stream as the printer receives it. Text parts are written as string literals, raw
// parts with raw(), le16() and le32().
using Bytes = std::string;

Bytes raw(std::initializer_list<int> bytes);
Bytes le16(uint32_t value);
Bytes le32(uint32_t value);
Bytes repeat(const Bytes &piece, std::size_t times);
// Bytes 0, 1, 2, ... shifted by `seed`, so that neighbouring glyphs differ.
Bytes pattern(std::size_t size, uint8_t seed = 1);
Bytes bytesOf(const uint8_t *data, std::size_t size);

// Compares two byte streams; on a difference it reports the lengths, the first differing offset
// and hex dumps of both streams around it.
::testing::AssertionResult SameBytes(const char *expectedExpr, const char *actualExpr, const Bytes &expected,
                                     const Bytes &actual);
#define EXPECT_BYTES(expected, actual) EXPECT_PRED_FORMAT2(::kdxtest::SameBytes, expected, actual)

// Sets (or, with a null value, removes) an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const char *value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    std::string name_;
    bool hadValue_ = false;
    std::string oldValue_;
};

// The fifteen procedures of one built module, bound by name through the host's binding.
struct Procedures {
    GetCmdUIPropFn GetCmdUIProp;
    GetExportImgFormFn GetExportImgForm;
    GetBmpFontLengthFn GetBmpFontLength;
    GetBmpFontDataFn GetBmpFontData;
    GetTtfFontLengthFn GetTtfFontLength;
    GetTtfFontDataFn GetTtfFontData;
    GetGraphicDataLengthFn GetGraphicDataLength;
    GetGraphicDataFn GetGraphicData;
    GetModuleMemCmdFn GetModuleMemCmd;
    GetModuleMemLenFn GetModuleMemLen;
    GetFileQueryCmdFn GetFileQueryCmd;
    GetFileQueryResultFn GetFileQueryResult;
    GetFileDelCmdFn GetFileDelCmd;
    GetFileFormatCmdFn GetFileFormatCmd;
    GetFilePrintCmdFn GetFilePrintCmd;
};

// Loads <app>/DLL/<name>.so once per test program and binds its procedures; throws when the
// module cannot be loaded or lacks a procedure, which fails the calling test.
const Procedures &procedures(const std::string &moduleName);
// The address of one procedure, or null; for tests of the exports themselves.
void *findProcedure(const std::string &moduleName, const char *procName);

inline constexpr uint8_t kSentinelByte = 0xA5;
inline constexpr int32_t kLengthSentinel = -777;
inline constexpr std::size_t kGuardBytes = 64;

// An output buffer of `room` bytes followed by guard bytes, all set to a sentinel, and an out
// length set to a sentinel.
class OutBuffer {
public:
    explicit OutBuffer(std::size_t room = KDX_COMMAND_CAPACITY);

    uint8_t *data() { return bytes_.data(); }
    int32_t *length() { return &length_; }
    int32_t reported() const { return length_; }

    // The reported number of bytes from the start; empty (and a failure) when the reported
    // length is outside the room.
    Bytes written() const;
    // Neither a byte nor the out length changed.
    ::testing::AssertionResult untouched() const;
    // The reported length lies within the room and no guard byte changed.
    ::testing::AssertionResult withinRoom() const;

private:
    std::size_t room_;
    std::vector<uint8_t> bytes_;
    int32_t length_ = kLengthSentinel;
};

// Builds a file record as the host keeps it; fields are cut to fit like the host does.
FileRecord fileRecord(std::u16string_view memory, std::u16string_view name, std::u16string_view type,
                      std::u16string_view size = u"");

// Room for a file list: KDX_RECORD_CAPACITY records plus one sentinel record behind them, and a
// count set to a sentinel.
class RecordList {
public:
    RecordList();
    FileRecord *data() { return records_.data(); }
    int32_t *count() { return &count_; }
    int32_t reported() const { return count_; }
    // No byte of record i changed; record KDX_RECORD_CAPACITY lies behind the capacity.
    bool untouched(std::size_t i) const;
    bool tailUntouched() const { return untouched(KDX_RECORD_CAPACITY); }
    // "memory|name|type|size" of a record, for readable comparisons.
    std::string describe(std::size_t i) const;

private:
    std::vector<FileRecord> records_;
    int32_t count_ = kLengthSentinel;
};

// The settings of a test print as the host fills them.
struct PrintInput {
    std::u16string cmdType = u"KDXZ";
    std::u16string memType = u"FLASH";
    std::u16string x = u"10";
    std::u16string y = u"10";
    std::u16string rotation = u"0";
    std::u16string testText = u"I am test string!";

    PrintSetting view() const {
        return PrintSetting{cmdType.c_str(), memType.c_str(), x.c_str(), y.c_str(), rotation.c_str(), testText.c_str()};
    }
};

// A code table: rows of (first code, count) for Unicode tables, (first code, last code, count)
// for multi-byte tables.
struct CodeTable {
    int stride = 2;
    std::vector<uint16_t> values;

    static CodeTable unicode(std::initializer_list<std::pair<int, int>> rows);
    static CodeTable mbcs(std::initializer_list<std::pair<int, int>> rows);
    // `rows` rows of `rowLength` codes (the last one shorter so that `count` codes are listed),
    // row i starting at firstCode + 256 * i.
    static CodeTable blocks(bool multiByte, int firstCode, int count, int rowLength);

    int rowCount() const { return static_cast<int>(values.size()) / stride; }
    int first(int row) const { return values.at(static_cast<std::size_t>(row * stride)); }
    int length(int row) const { return values.at(static_cast<std::size_t>(row * stride + stride - 1)); }
};

// Everything a bitmap-font download is built from. The table, name and widths live here, so
// the pointers handed to a module stay valid while the object does.
struct BitmapFont {
    CodeTable table;
    CodeRange range{};
    std::u16string name = u"FONT";
    FontSetting setting{};
    std::unique_ptr<WidthTable> widths = std::make_unique<WidthTable>();
    Bytes glyphs;

    // Selects the characters from (firstRow, firstOffset) to (lastRow, lastOffset) and derives
    // the codes, the count and the large-set flag the way the host does.
    // The encoding follows the table: Unicode for two values a row, MBCS for three.
    void select(int firstRow, int firstOffset, int lastRow, int lastOffset);
    void selectAll() { select(0, 0, table.rowCount() - 1, table.length(table.rowCount() - 1) - 1); }
    // Fixed-width cells with pattern glyph data for every selected character.
    void fixedCells(int cellWidth, int cellHeight, uint8_t seed = 1);

    const CodeRange *rangeArg() {
        range.table = table.values.data();
        return &range;
    }
    const FontSetting *settingArg() {
        setting.fontName = name.c_str();
        return &setting;
    }
    const uint8_t *glyphArg() const { return reinterpret_cast<const uint8_t *>(glyphs.data()); }
    int32_t glyphLength() const { return static_cast<int32_t>(glyphs.size()); }
};

// The outcome of a length call and a data call into a buffer of exactly the reported bound.
struct FontBuild {
    int32_t bound = 0;
    bool ok = false;
    std::unique_ptr<OutBuffer> out;
    Bytes stream() const { return out->written(); }
};

// Asks for the bound, then builds the font into a buffer of exactly that size; checks that the
// data call stayed inside the bound and that a refusal wrote nothing.
FontBuild buildFont(const Procedures &module, BitmapFont &font);

// The outcome of one GetFileQueryResult call into a fresh RecordList.
struct ListResult {
    bool ok = false;
    int32_t count = kLengthSentinel;
    std::vector<std::string> records;  // "memory|name|type|size" of each reported record
};
// Also checks that no record behind the capacity was written and, on success, that the count
// lies within the capacity.
ListResult queryList(const Procedures &module, uint8_t memory, uint8_t kind, const char *reply);

// Text of a wide string held in a buffer of `units` code units, up to its NUL.
std::u16string wideUpToNul(const char16_t *units, std::size_t capacity, bool *terminated);

}  // namespace kdxtest
