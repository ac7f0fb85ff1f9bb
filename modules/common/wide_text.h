// Small helpers for composing and cutting UTF-16 command text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kdx {

using WString = std::u16string;
using WView = std::u16string_view;

// A caller's NUL-terminated wide string; a null pointer reads as empty.
inline WView viewOf(const char16_t *text) {
    return text ? WView(text) : WView();
}

// A fixed-size wide field that should hold a NUL; a field without one is read to its end.
template <size_t N>
WView fieldOf(const char16_t (&field)[N]) {
    size_t length = 0;
    while (length < N && field[length] != u'\0') ++length;
    return WView(field, length);
}

// Writes text into a fixed field, cut to leave room for the NUL, and zeroes the rest.
template <size_t N>
void setField(char16_t (&field)[N], WView text) {
    size_t length = text.size() < N ? text.size() : N - 1;
    for (size_t i = 0; i < N; ++i) field[i] = i < length ? text[i] : u'\0';
}

WString widen(std::string_view ascii);

WString decimal(int64_t value);                 // "%d"
WString fixedDecimal(int64_t value, size_t n);  // zeros in front, rightmost n characters kept
WString fixedHex(uint32_t value, size_t n, bool upper);

// Trim: spaces, CR and LF off both ends.
WView trim(WView text);

// The number of a text: every space removed, then a signed decimal read from the start;
// an empty or non-numeric text gives 0. Saturates at the 64-bit range.
int64_t numberOf(WView text);

// A decimal read after leading white space (the C library's atoi rule), saturating.
int64_t leadingNumber(WView text);

// Left/Right/Mid that clamp like the class library's string methods.
inline WView leftOf(WView text, size_t n) { return text.substr(0, n < text.size() ? n : text.size()); }
inline WView fromPos(WView text, size_t pos) { return pos < text.size() ? text.substr(pos) : WView(); }

WString toUpperAscii(WView text);

}  // namespace kdx
