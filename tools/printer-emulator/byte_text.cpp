#include "byte_text.h"

#include <charconv>

namespace emulator {

Match matchAt(std::string_view input, std::string_view command) {
    if (input.starts_with(command)) return Match::Yes;
    if (input.size() < command.size() && command.starts_with(input)) return Match::Partial;
    return Match::No;
}

std::optional<Line> lineAt(std::string_view input, size_t from) {
    const size_t lf = input.find(LF, from);
    if (lf == std::string_view::npos) return std::nullopt;
    std::string_view text = input.substr(from, lf - from);
    if (!text.empty() && text.back() == CR) text.remove_suffix(1);
    return Line{text, lf + 1};
}

std::optional<Line> crLineAt(std::string_view input, size_t from) {
    const size_t cr = input.find(CR, from);
    if (cr == std::string_view::npos) return std::nullopt;
    const size_t next = cr + 1 < input.size() && input[cr + 1] == LF ? cr + 2 : cr + 1;
    return Line{input.substr(from, cr - from), next};
}

size_t blankPrefix(std::string_view input) {
    size_t n = 0;
    while (n < input.size() && (input[n] == CR || input[n] == LF || input[n] == ' ' || input[n] == '\0')) ++n;
    return n;
}

std::optional<uint64_t> decimalValue(std::string_view text) {
    uint64_t value = 0;
    if (text.empty()) return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<uint64_t> hexValue(std::string_view text) {
    uint64_t value = 0;
    if (text.empty()) return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string_view trimmed(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == CR || c == LF; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<Quoted> quotedAt(std::string_view text, size_t from) {
    const size_t open = text.find('"', from);
    if (open == std::string_view::npos) return std::nullopt;
    const size_t close = text.find('"', open + 1);
    if (close == std::string_view::npos) return std::nullopt;
    return Quoted{text.substr(open + 1, close - open - 1), close + 1};
}

std::string zeroPadded(uint64_t value, size_t width) {
    std::string digits = std::to_string(value);
    return digits.size() >= width ? digits : std::string(width - digits.size(), '0') + digits;
}

}  // namespace emulator
