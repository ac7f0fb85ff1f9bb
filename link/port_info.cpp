#include "port_info.h"

#include <iconv.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace printer_link {
namespace {

// Converts between two encodings in one go; nothing on malformed or truncated input.
std::optional<std::string> convert(const char *to, const char *from, const char *input, size_t size) {
    iconv_t converter = ::iconv_open(to, from);
    if (converter == iconv_t(-1)) return std::nullopt;
    std::string output(size * 4 + 4, '\0');
    char *in = const_cast<char *>(input);
    size_t inLeft = size;
    char *out = output.data();
    size_t outLeft = output.size();
    size_t result = ::iconv(converter, &in, &inLeft, &out, &outLeft);
    ::iconv_close(converter);
    if (result == size_t(-1) || inLeft != 0) return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}

template <typename Char>
int32_t atoiValue(std::basic_string_view<Char> text) {
    size_t i = 0;
    auto space = [](Char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < text.size() && space(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(INT32_MAX) + 1) value = int64_t(INT32_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    return int32_t(value);
}

}  // namespace

std::u16string_view fittingPrefix(std::u16string_view text, size_t units) {
    text = text.substr(0, text.find(u'\0'));
    if (text.size() <= units) return text;
    size_t length = units;
    if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) --length;
    return text.substr(0, length);
}

std::optional<std::u16string> utf16FromUtf8(std::string_view text) {
    std::optional<std::string> bytes = convert("UTF-16LE", "UTF-8", text.data(), text.size());
    if (!bytes) return std::nullopt;
    std::u16string result(bytes->size() / 2, u'\0');
    std::memcpy(result.data(), bytes->data(), result.size() * 2);
    return result;
}

std::optional<std::string> utf8FromUtf16(std::u16string_view text) {
    return convert("UTF-8", "UTF-16LE", reinterpret_cast<const char *>(text.data()), text.size() * 2);
}

int32_t decimalValue(std::u16string_view text) { return atoiValue(text); }
int32_t decimalValue(std::string_view text) { return atoiValue(text); }

}  // namespace printer_link
