// Reads fuzzer bytes as a sequence of small values; past the end every value is 0.
#pragma once

#include <cstddef>
#include <cstdint>

class FuzzInput {
public:
    FuzzInput(const uint8_t *data, size_t size) : data_(data), size_(size) {}

    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint16_t u16() { return static_cast<uint16_t>(byte() | (byte() << 8)); }
    // A value in [low, high].
    int32_t in(int32_t low, int32_t high) {
        const uint32_t span = static_cast<uint32_t>(high - low) + 1;
        return low + static_cast<int32_t>(u16() % span);
    }
    const uint8_t *rest() const { return data_ + pos_; }
    size_t restSize() const { return size_ - pos_; }

private:
    const uint8_t *data_;
    size_t size_;
    size_t pos_ = 0;
};
