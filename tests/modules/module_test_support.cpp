#include "module_test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <stdexcept>

#include "language_module.h"

#ifndef KDX_TEST_APP_DIR
#error "KDX_TEST_APP_DIR must name the program folder that holds DLL/"
#endif

namespace kdxtest {

Bytes raw(std::initializer_list<int> bytes) {
    Bytes out;
    for (int b : bytes) out.push_back(static_cast<char>(static_cast<uint8_t>(b)));
    return out;
}

Bytes le16(uint32_t value) { return raw({static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF)}); }

Bytes le32(uint32_t value) { return le16(value & 0xFFFF) + le16(value >> 16); }

Bytes repeat(const Bytes &piece, std::size_t times) {
    Bytes out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

Bytes pattern(std::size_t size, uint8_t seed) {
    Bytes out(size, '\0');
    for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<char>(static_cast<uint8_t>(seed + i));
    return out;
}

Bytes bytesOf(const uint8_t *data, std::size_t size) { return Bytes(reinterpret_cast<const char *>(data), size); }

namespace {

std::string hexWindow(const Bytes &bytes, std::size_t from, std::size_t to) {
    std::ostringstream out;
    to = std::min(to, bytes.size());
    for (std::size_t line = from - from % 16; line < to; line += 16) {
        char head[24];
        std::snprintf(head, sizeof head, "%06zx ", line);
        out << "    " << head;
        std::string ascii;
        for (std::size_t i = line; i < line + 16; ++i) {
            if (i < from || i >= to) {
                out << "   ";
                ascii += ' ';
                continue;
            }
            const auto b = static_cast<uint8_t>(bytes[i]);
            char cell[4];
            std::snprintf(cell, sizeof cell, "%02x ", b);
            out << cell;
            ascii += (b >= 0x20 && b < 0x7F) ? static_cast<char>(b) : '.';
        }
        out << " " << ascii << "\n";
    }
    return out.str();
}

}  // namespace

::testing::AssertionResult SameBytes(const char *expectedExpr, const char *actualExpr, const Bytes &expected,
                                     const Bytes &actual) {
    if (expected == actual) return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
    const std::size_t from = at > 32 ? at - 32 : 0;
    char offset[24];
    std::snprintf(offset, sizeof offset, "0x%zx", at);
    return ::testing::AssertionFailure()
           << actualExpr << " differs from " << expectedExpr << "\n  expected " << expected.size()
           << " bytes, got " << actual.size() << " bytes; first difference at offset " << at << " (" << offset
           << ")\n  expected:\n"
           << hexWindow(expected, from, at + 48) << "  actual:\n"
           << hexWindow(actual, from, at + 48);
}

ScopedEnv::ScopedEnv(const char *name, const char *value) : name_(name) {
    if (const char *old = std::getenv(name)) {
        hadValue_ = true;
        oldValue_ = old;
    }
    if (value)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (hadValue_)
        ::setenv(name_.c_str(), oldValue_.c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}

namespace {

const kdx::LanguageModule &loadedModule(const std::string &name) {
    static std::map<std::string, std::unique_ptr<kdx::LanguageModule>> modules;
    auto &slot = modules[name];
    if (!slot) slot = std::make_unique<kdx::LanguageModule>(KDX_TEST_APP_DIR, name);
    return *slot;
}

template <typename Fn>
Fn bind(const kdx::LanguageModule &module, const char *procName) {
    auto fn = module.procedure<Fn>(procName);
    if (!fn) throw std::runtime_error(module.name() + " does not export " + procName);
    return fn;
}

}  // namespace

void *findProcedure(const std::string &moduleName, const char *procName) {
    return loadedModule(moduleName).procedure<void *>(procName);
}

const Procedures &procedures(const std::string &moduleName) {
    static std::map<std::string, Procedures> bound;
    auto found = bound.find(moduleName);
    if (found != bound.end()) return found->second;
    const auto &m = loadedModule(moduleName);
    Procedures p{
        bind<GetCmdUIPropFn>(m, "GetCmdUIProp"),
        bind<GetExportImgFormFn>(m, "GetExportImgForm"),
        bind<GetBmpFontLengthFn>(m, "GetBmpFontLength"),
        bind<GetBmpFontDataFn>(m, "GetBmpFontData"),
        bind<GetTtfFontLengthFn>(m, "GetTtfFontLength"),
        bind<GetTtfFontDataFn>(m, "GetTtfFontData"),
        bind<GetGraphicDataLengthFn>(m, "GetGraphicDataLength"),
        bind<GetGraphicDataFn>(m, "GetGraphicData"),
        bind<GetModuleMemCmdFn>(m, "GetModuleMemCmd"),
        bind<GetModuleMemLenFn>(m, "GetModuleMemLen"),
        bind<GetFileQueryCmdFn>(m, "GetFileQueryCmd"),
        bind<GetFileQueryResultFn>(m, "GetFileQueryResult"),
        bind<GetFileDelCmdFn>(m, "GetFileDelCmd"),
        bind<GetFileFormatCmdFn>(m, "GetFileFormatCmd"),
        bind<GetFilePrintCmdFn>(m, "GetFilePrintCmd"),
    };
    return bound.emplace(moduleName, p).first->second;
}

OutBuffer::OutBuffer(std::size_t room) : room_(room), bytes_(room + kGuardBytes, kSentinelByte) {}

Bytes OutBuffer::written() const {
    if (length_ < 0 || static_cast<std::size_t>(length_) > room_) {
        ADD_FAILURE() << "reported length " << length_ << " lies outside the buffer of " << room_ << " bytes";
        return {};
    }
    return bytesOf(bytes_.data(), static_cast<std::size_t>(length_));
}

::testing::AssertionResult OutBuffer::untouched() const {
    if (length_ != kLengthSentinel) return ::testing::AssertionFailure() << "the out length changed to " << length_;
    const auto changed = std::find_if(bytes_.begin(), bytes_.end(), [](uint8_t b) { return b != kSentinelByte; });
    if (changed != bytes_.end())
        return ::testing::AssertionFailure() << "the buffer changed at offset " << (changed - bytes_.begin());
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult OutBuffer::withinRoom() const {
    if (length_ < 0 || static_cast<std::size_t>(length_) > room_)
        return ::testing::AssertionFailure() << "reported length " << length_ << " passes the room of " << room_;
    for (std::size_t i = room_; i < bytes_.size(); ++i)
        if (bytes_[i] != kSentinelByte)
            return ::testing::AssertionFailure() << "written past the room of " << room_ << " bytes, at offset " << i;
    return ::testing::AssertionSuccess();
}

namespace {

template <std::size_t N>
void copyField(char16_t (&field)[N], std::u16string_view value) {
    const std::size_t n = std::min(value.size(), N - 1);
    std::copy_n(value.begin(), n, field);
    std::fill(field + n, field + N, u'\0');
}

}  // namespace

FileRecord fileRecord(std::u16string_view memory, std::u16string_view name, std::u16string_view type,
                      std::u16string_view size) {
    FileRecord r{};
    copyField(r.memory, memory);
    copyField(r.name, name);
    copyField(r.type, type);
    copyField(r.size, size);
    return r;
}

namespace {

FileRecord sentinelRecord() {
    FileRecord r;
    std::memset(&r, kSentinelByte, sizeof r);
    return r;
}

std::string narrow(const char16_t *field, std::size_t capacity) {
    std::string out;
    for (std::size_t i = 0; i < capacity && field[i]; ++i) out += field[i] < 0x80 ? static_cast<char>(field[i]) : '?';
    return out;
}

}  // namespace

RecordList::RecordList() : records_(KDX_RECORD_CAPACITY + 1, sentinelRecord()) {}

bool RecordList::untouched(std::size_t i) const {
    const auto *tail = reinterpret_cast<const uint8_t *>(&records_.at(i));
    return std::all_of(tail, tail + sizeof(FileRecord), [](uint8_t b) { return b == kSentinelByte; });
}

std::string RecordList::describe(std::size_t i) const {
    const FileRecord &r = records_.at(i);
    return narrow(r.memory, 8) + "|" + narrow(r.name, 260) + "|" + narrow(r.type, 32) + "|" + narrow(r.size, 24);
}

CodeTable CodeTable::unicode(std::initializer_list<std::pair<int, int>> rows) {
    CodeTable t;
    t.stride = 2;
    for (auto [first, count] : rows) {
        t.values.push_back(static_cast<uint16_t>(first));
        t.values.push_back(static_cast<uint16_t>(count));
    }
    return t;
}

CodeTable CodeTable::mbcs(std::initializer_list<std::pair<int, int>> rows) {
    CodeTable t;
    t.stride = 3;
    for (auto [first, count] : rows) {
        t.values.push_back(static_cast<uint16_t>(first));
        t.values.push_back(static_cast<uint16_t>(first + count - 1));
        t.values.push_back(static_cast<uint16_t>(count));
    }
    return t;
}

CodeTable CodeTable::blocks(bool multiByte, int firstCode, int count, int rowLength) {
    CodeTable t;
    t.stride = multiByte ? 3 : 2;
    for (int row = 0, left = count; left > 0; ++row) {
        const int n = std::min(left, rowLength);
        const int first = firstCode + 256 * row;
        t.values.push_back(static_cast<uint16_t>(first));
        if (multiByte) t.values.push_back(static_cast<uint16_t>(first + n - 1));
        t.values.push_back(static_cast<uint16_t>(n));
        left -= n;
    }
    return t;
}

void BitmapFont::select(int firstRow, int firstOffset, int lastRow, int lastOffset) {
    range = CodeRange{};
    range.rowCount = table.rowCount();
    range.firstRow = firstRow;
    range.firstOffset = firstOffset;
    range.firstCode = table.first(firstRow) + firstOffset;
    range.lastRow = lastRow;
    range.lastOffset = lastOffset;
    range.lastCode = table.first(lastRow) + lastOffset;
    int count = 0;
    if (firstRow == lastRow) {
        count = lastOffset - firstOffset + 1;
    } else {
        count = table.length(firstRow) - firstOffset;
        for (int row = firstRow + 1; row < lastRow; ++row) count += table.length(row);
        count += lastOffset + 1;
    }
    range.charCount = count;
    range.largeSet = count > 256 ? 1 : 0;
    setting.encoding = table.stride == 2 ? 1 : 0;
}

void BitmapFont::fixedCells(int cellWidth, int cellHeight, uint8_t seed) {
    setting.fixedWidth = 1;
    setting.cellWidth = cellWidth;
    setting.cellHeight = cellHeight;
    glyphs = pattern(
        static_cast<std::size_t>((cellWidth + 7) / 8 * cellHeight) * static_cast<std::size_t>(range.charCount), seed);
}

FontBuild buildFont(const Procedures &module, BitmapFont &font) {
    FontBuild build;
    module.GetBmpFontLength(font.rangeArg(), font.settingArg(), &build.bound);
    build.out = std::make_unique<OutBuffer>(static_cast<std::size_t>(std::max(build.bound, 0)));
    build.ok = module.GetBmpFontData(font.rangeArg(), font.settingArg(), font.widths.get(), font.glyphArg(),
                                     font.glyphLength(), build.out->data(), build.out->length());
    if (build.ok)
        EXPECT_TRUE(build.out->withinRoom()) << "the font stream passes the bound of " << build.bound;
    else
        EXPECT_TRUE(build.out->untouched()) << "a refused font stream wrote bytes";
    return build;
}

ListResult queryList(const Procedures &module, uint8_t memory, uint8_t kind, const char *reply) {
    RecordList list;
    ListResult result;
    result.ok = module.GetFileQueryResult(memory, kind, reply, list.data(), list.count());
    result.count = list.reported();
    EXPECT_TRUE(list.tailUntouched()) << "a record was written behind the capacity";
    if (result.ok) {
        EXPECT_GE(result.count, 0);
        EXPECT_LE(result.count, KDX_RECORD_CAPACITY);
        for (int32_t i = 0; i < std::min<int32_t>(result.count, KDX_RECORD_CAPACITY); ++i)
            result.records.push_back(list.describe(static_cast<std::size_t>(i)));
    }
    return result;
}

std::u16string wideUpToNul(const char16_t *units, std::size_t capacity, bool *terminated) {
    std::u16string out;
    *terminated = false;
    for (std::size_t i = 0; i < capacity; ++i) {
        if (units[i] == u'\0') {
            *terminated = true;
            break;
        }
        out += units[i];
    }
    return out;
}

}  // namespace kdxtest
