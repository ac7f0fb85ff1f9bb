#include "image_length.h"

#include "payload_codecs.h"

namespace emulator {
namespace {

constexpr size_t kPcxHeader = 128;
constexpr size_t kPcxPalette = 769;  // 0x0C and 256 RGB entries
constexpr uint64_t kLargestImage = uint64_t(1) << 30;

FileLength invalid(std::string problem) {
    FileLength length;
    length.status = FileLength::Status::Invalid;
    length.problem = std::move(problem);
    return length;
}

FileLength known(uint64_t bytes) {
    FileLength length;
    length.status = FileLength::Status::Known;
    length.bytes = bytes;
    return length;
}

FileLength needMore(size_t bytes) {
    FileLength length;
    length.need = bytes;
    return length;
}

}  // namespace

FileLength bmpFileLength(std::string_view data) {
    if (data.size() < 6) return needMore(6);
    if (data[0] != 'B' || data[1] != 'M') return invalid("the graphic is not a BMP file");
    const uint32_t size = le32(data, 2);
    if (size < 54) return invalid("the BMP file header gives a size of " + std::to_string(size));
    return known(size);
}

FileLength pcxFileLength(std::string_view data) {
    if (data.size() < kPcxHeader) return needMore(kPcxHeader);
    if (static_cast<unsigned char>(data[0]) != 0x0A || data[2] != 1) return invalid("the graphic is not a PCX file");
    const unsigned bitsPerPixel = static_cast<unsigned char>(data[3]);
    const unsigned planes = static_cast<unsigned char>(data[65]);
    const uint32_t xMin = le16(data, 4), yMin = le16(data, 6), xMax = le16(data, 8), yMax = le16(data, 10);
    const uint32_t bytesPerLine = le16(data, 66);
    if (xMax < xMin || yMax < yMin || planes == 0 || bytesPerLine == 0)
        return invalid("the PCX header describes no image");
    const uint64_t decoded = uint64_t(bytesPerLine) * planes * (yMax - yMin + 1);
    if (decoded > kLargestImage) return invalid("the PCX image is too large");

    uint64_t produced = 0;
    size_t at = kPcxHeader;
    while (produced < decoded) {
        if (at >= data.size()) return needMore(data.size() + 1);
        const auto byte = static_cast<unsigned char>(data[at]);
        if (byte >= 0xC0) {
            if (at + 1 >= data.size()) return needMore(at + 2);
            produced += byte & 0x3F;
            at += 2;
        } else {
            produced += 1;
            at += 1;
        }
    }
    const bool palette = static_cast<unsigned char>(data[1]) == 5 && bitsPerPixel == 8 && planes == 1;
    return known(at + (palette ? kPcxPalette : 0));
}

}  // namespace emulator
