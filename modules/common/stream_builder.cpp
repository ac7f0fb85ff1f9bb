#include "stream_builder.h"

#include <cstring>

#include "text_codec.h"

namespace kdx {

StreamBuilder::StreamBuilder() : codePage_(ansiCodePage()) {}

StreamBuilder &StreamBuilder::text(WView text) {
    std::string converted = toAnsi(text, codePage_);
    bytes_.insert(bytes_.end(), converted.begin(), converted.end());
    return *this;
}

StreamBuilder &StreamBuilder::utf8(WView text) {
    std::string converted = toUtf8(text);
    bytes_.insert(bytes_.end(), converted.begin(), converted.end());
    return *this;
}

StreamBuilder &StreamBuilder::bytes(const uint8_t *data, size_t size) {
    if (data && size) bytes_.insert(bytes_.end(), data, data + size);
    return *this;
}

StreamBuilder &StreamBuilder::byte(uint8_t value) {
    bytes_.push_back(value);
    return *this;
}

bool StreamBuilder::commit(uint8_t *out, int32_t *length, int64_t room) const {
    if (!out || !length) return false;
    if (room < 0 || static_cast<int64_t>(bytes_.size()) > room) return false;
    if (!bytes_.empty()) std::memcpy(out, bytes_.data(), bytes_.size());
    *length = static_cast<int32_t>(bytes_.size());
    return true;
}

size_t ansiLength(WView text) { return toAnsi(text).size(); }

}  // namespace kdx
