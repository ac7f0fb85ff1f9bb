// Decoders for the encoded payloads some downloads carry: hexadecimal text, Base64 text, the
// compressed hexadecimal rows of GRF graphics, and a check of the indexed bitmap-font header.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace emulator {

// Pairs of hexadecimal digits to bytes; empty when a character is not a hex digit or the
// count is odd.
std::optional<std::string> decodeHex(std::string_view text);

// Standard Base64 with "=" padding; CR and LF are ignored. Empty for any other character.
std::optional<std::string> decodeBase64(std::string_view text);
inline bool isBase64Char(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '/' || c == '=';
}

// GRF rows: hexadecimal digits, each optionally preceded by repeat letters (G to Y count 1 to
// 19, g to z count 20 to 400 in steps of 20, added up); "," fills the rest of the row with
// zeros, "!" with ones, ":" repeats the previous row. Blanks are ignored.
struct GrfDecoding {
    enum class Status { Complete, NeedMore, Bad };
    Status status = Status::NeedMore;
    size_t consumed = 0;  // characters read (Complete)
    std::string rows;     // the decoded image (Complete)
    std::string problem;  // why the data is bad (Bad)
};
GrfDecoding decodeGrf(std::string_view text, uint64_t totalBytes, uint64_t rowBytes, bool endOfStream);

// Why `data` is not an indexed bitmap-font payload (56-byte header whose first byte is 56 and
// whose 32-bit size at offset 52 equals the data's length); empty when it is one.
std::optional<std::string> indexedFontProblem(std::string_view data);

// Little-endian fields.
uint32_t le16(std::string_view data, size_t at);
uint32_t le32(std::string_view data, size_t at);

}  // namespace emulator
