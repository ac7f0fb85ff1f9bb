// Collects the bytes of one command stream: text converted to the ANSI code page or to UTF-8,
// and raw bytes appended unchanged. Nothing reaches the caller's buffer until commit(), which
// refuses a stream larger than the room the caller has.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "wide_text.h"

namespace kdx {

class StreamBuilder {
public:
    StreamBuilder();

    StreamBuilder &text(WView text);   // in the ANSI code page
    StreamBuilder &utf8(WView text);   // as UTF-8
    StreamBuilder &bytes(const uint8_t *data, size_t size);
    StreamBuilder &byte(uint8_t value);

    size_t size() const { return bytes_.size(); }
    uint8_t *data() { return bytes_.data(); }
    const std::vector<uint8_t> &contents() const { return bytes_; }

    // Copies the stream to out and reports its length, when both are present and the stream
    // fits in `room` bytes; otherwise writes nothing and returns false.
    bool commit(uint8_t *out, int32_t *length, int64_t room) const;

private:
    int codePage_;
    std::vector<uint8_t> bytes_;
};

// Length in ANSI code-page bytes of a text, as commit() would write it.
size_t ansiLength(WView text);

}  // namespace kdx
