// Small helpers for reading commands out of received bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace emulator {

inline constexpr char CR = '\r';
inline constexpr char LF = '\n';
inline constexpr char SOH = '\x01';
inline constexpr char STX = '\x02';
inline constexpr char ETX = '\x03';
inline constexpr char ESC = '\x1b';
inline constexpr std::string_view CRLF = "\r\n";

// Whether input starts with a command: Partial when input is shorter than the command and
// could still become it.
enum class Match { No, Partial, Yes };
Match matchAt(std::string_view input, std::string_view command);

// A line that ends with LF; `text` excludes the LF and a CR before it, `next` is the
// position after the LF. Empty when no LF has arrived yet.
struct Line {
    std::string_view text;
    size_t next;
};
std::optional<Line> lineAt(std::string_view input, size_t from = 0);

// A line that ends with CR (a LF right after the CR belongs to it when it has arrived).
std::optional<Line> crLineAt(std::string_view input, size_t from = 0);

// Bytes of CR, LF, spaces and NULs at the start of input.
size_t blankPrefix(std::string_view input);

// Decimal and hexadecimal numbers made of digits only (no sign, no blanks); empty for an
// empty text, another character, or a value past 64 bits.
std::optional<uint64_t> decimalValue(std::string_view text);
std::optional<uint64_t> hexValue(std::string_view text);

std::string_view trimmed(std::string_view text);  // spaces, tabs, CR and LF off both ends

// The text between the first pair of double quotes of `text`, and the position after the
// closing quote; empty when there is no such pair.
struct Quoted {
    std::string_view text;
    size_t next;
};
std::optional<Quoted> quotedAt(std::string_view text, size_t from = 0);

// A decimal number written into `width` characters with zeros in front.
std::string zeroPadded(uint64_t value, size_t width);

}  // namespace emulator
