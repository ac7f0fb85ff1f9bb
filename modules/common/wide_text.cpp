#include "wide_text.h"

#include <limits>

namespace kdx {
namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int64_t readSigned(WView text, size_t pos) {
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    constexpr uint64_t limit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    uint64_t value = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        value = value * 10 + static_cast<uint64_t>(text[pos] - u'0');
        if (value > limit) {
            return negative ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
        }
    }
    return negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
}

}  // namespace

WString widen(std::string_view ascii) { return WString(ascii.begin(), ascii.end()); }

WString decimal(int64_t value) { return widen(std::to_string(value)); }

WString fixedDecimal(int64_t value, size_t n) {
    WString text = WString(n, u'0') + decimal(value);
    return text.substr(text.size() - n);
}

WString fixedHex(uint32_t value, size_t n, bool upper) {
    const char *digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    WString hex;
    do {
        hex.insert(hex.begin(), static_cast<char16_t>(digits[value % 16]));
        value /= 16;
    } while (value != 0);
    WString text = WString(n, u'0') + hex;
    return text.substr(text.size() - n);
}

WView trim(WView text) {
    auto blank = [](char16_t c) { return c == u' ' || c == u'\r' || c == u'\n'; };
    size_t begin = 0, end = text.size();
    while (begin < end && blank(text[begin])) ++begin;
    while (end > begin && blank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

int64_t numberOf(WView text) {
    WString compact;
    for (char16_t c : text)
        if (c != u' ') compact.push_back(c);
    return readSigned(compact, 0);
}

int64_t leadingNumber(WView text) {
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == u' ' || (text[pos] >= u'\t' && text[pos] <= u'\r')))
        ++pos;
    return readSigned(text, pos);
}

WString toUpperAscii(WView text) {
    WString upper(text);
    for (char16_t &c : upper)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return upper;
}

}  // namespace kdx
