#include "payload_codecs.h"

namespace emulator {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

int base64Digit(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// Collects decoded nibbles row by row.
class RowWriter {
public:
    RowWriter(uint64_t total, uint64_t rowBytes) : totalNibbles_(total * 2), rowNibbles_(rowBytes * 2) {}

    bool full() const { return written_ >= totalNibbles_; }

    void nibble(int value, uint64_t count) {
        for (uint64_t i = 0; i < count && !full(); ++i) put(value);
    }
    void fillRow(int value) {
        do put(value);
        while (!full() && written_ % rowNibbles_ != 0);
    }
    bool repeatRow() {
        if (written_ < rowNibbles_ || written_ % rowNibbles_ != 0) return false;
        const uint64_t start = written_ - (written_ % rowNibbles_) - rowNibbles_;
        for (uint64_t i = 0; i < rowNibbles_ && !full(); ++i) put(nibbleAt(start + i));
        return true;
    }
    std::string take() { return std::move(bytes_); }

private:
    void put(int value) {
        if (written_ % 2 == 0) bytes_.push_back(static_cast<char>(value << 4));
        else bytes_.back() = static_cast<char>(static_cast<unsigned char>(bytes_.back()) | value);
        ++written_;
    }
    int nibbleAt(uint64_t index) const {
        const auto byte = static_cast<unsigned char>(bytes_[index / 2]);
        return index % 2 == 0 ? byte >> 4 : byte & 0x0F;
    }

    uint64_t totalNibbles_;
    uint64_t rowNibbles_;
    uint64_t written_ = 0;
    std::string bytes_;
};

}  // namespace

std::optional<std::string> decodeHex(std::string_view text) {
    if (text.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    bytes.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = hexDigit(text[i]), low = hexDigit(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<char>(high << 4 | low));
    }
    return bytes;
}

std::optional<std::string> decodeBase64(std::string_view text) {
    std::string bytes;
    uint32_t bits = 0;
    int held = 0;
    bool padding = false;
    for (char c : text) {
        if (c == '\r' || c == '\n') continue;
        if (c == '=') {
            padding = true;
            continue;
        }
        const int digit = base64Digit(c);
        if (digit < 0 || padding) return std::nullopt;
        bits = (bits << 6) | static_cast<uint32_t>(digit);
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes.push_back(static_cast<char>((bits >> held) & 0xFF));
        }
    }
    return bytes;
}

GrfDecoding decodeGrf(std::string_view text, uint64_t totalBytes, uint64_t rowBytes, bool endOfStream) {
    GrfDecoding result;
    if (rowBytes == 0) {
        result.status = GrfDecoding::Status::Bad;
        result.problem = "zero bytes per row";
        return result;
    }
    RowWriter rows(totalBytes, rowBytes);
    uint64_t repeat = 0;
    size_t at = 0;
    for (; at < text.size() && !rows.full(); ++at) {
        const char c = text[at];
        if (c >= 'G' && c <= 'Y') {
            repeat += static_cast<uint64_t>(c - 'G' + 1);
        } else if (c >= 'g' && c <= 'z') {
            repeat += static_cast<uint64_t>(c - 'g' + 1) * 20;
        } else if (hexDigit(c) >= 0) {
            rows.nibble(hexDigit(c), repeat == 0 ? 1 : repeat);
            repeat = 0;
        } else if (c == ',' || c == '!') {
            rows.fillRow(c == ',' ? 0 : 0xF);
            repeat = 0;
        } else if (c == ':') {
            if (!rows.repeatRow()) {
                result.status = GrfDecoding::Status::Bad;
                result.problem = "\":\" does not follow a complete row";
                return result;
            }
        } else if (c != ' ' && c != '\r' && c != '\n') {
            result.status = GrfDecoding::Status::Bad;
            result.problem = "graphic data ends before its " + std::to_string(totalBytes) + " bytes";
            return result;
        }
    }
    if (rows.full()) {
        result.status = GrfDecoding::Status::Complete;
        result.consumed = at;
        result.rows = rows.take();
    } else if (endOfStream) {
        result.status = GrfDecoding::Status::Bad;
        result.problem = "the stream ends inside the graphic data";
    }
    return result;
}

uint32_t le16(std::string_view data, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(data[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(data[at + 1])) << 8;
}

uint32_t le32(std::string_view data, size_t at) { return le16(data, at) | le16(data, at + 2) << 16; }

std::optional<std::string> indexedFontProblem(std::string_view data) {
    if (data.size() < 56) return "the font payload is shorter than its 56-byte header";
    if (static_cast<unsigned char>(data[0]) != 56) return "the font payload does not start with its header size 56";
    if (le32(data, 52) != data.size())
        return "the font payload header gives " + std::to_string(le32(data, 52)) + " bytes, the download " +
               std::to_string(data.size());
    return std::nullopt;
}

}  // namespace emulator
