#include "sample_payloads.h"

#include <cstdio>

namespace emulator_test {
namespace {

void put16(std::string &out, uint32_t value) {
    out.push_back(char(value & 0xFF));
    out.push_back(char((value >> 8) & 0xFF));
}

void put32(std::string &out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

}  // namespace

std::string monochromeBmp(uint32_t width, uint32_t height) {
    const uint32_t stride = (width + 31) / 32 * 4;
    const uint32_t size = 62 + stride * height;
    std::string file = "BM";
    put32(file, size);
    put32(file, 0);
    put32(file, 62);
    put32(file, 40);
    put32(file, width);
    put32(file, height);
    put16(file, 1);
    put16(file, 1);
    put32(file, 0);
    put32(file, stride * height);
    put32(file, 2835);
    put32(file, 2835);
    put32(file, 2);
    put32(file, 2);
    put32(file, 0x00000000);  // black
    put32(file, 0x00FFFFFF);  // white
    for (uint32_t row = 0; row < height; ++row)
        for (uint32_t i = 0; i < stride; ++i) file.push_back(char(row % 2 ? 0xAA : 0x55));
    return file;
}

std::string monochromePcx(uint32_t width, uint32_t height) {
    const uint32_t bytesPerLine = (width + 15) / 16 * 2;
    std::string file(128, '\0');
    file[0] = 0x0A;
    file[1] = 5;
    file[2] = 1;
    file[3] = 1;
    auto set16 = [&](size_t at, uint32_t value) {
        file[at] = char(value & 0xFF);
        file[at + 1] = char(value >> 8);
    };
    set16(8, width - 1);
    set16(10, height - 1);
    set16(12, 200);
    set16(14, 200);
    file[65] = 1;
    set16(66, bytesPerLine);
    set16(68, 1);
    for (uint32_t row = 0; row < height; ++row) {
        if (row % 2 == 0) {
            // One run covering the whole row.
            file.push_back(char(0xC0 | bytesPerLine));
            file.push_back(char(0x00));
        } else {
            for (uint32_t i = 0; i < bytesPerLine; ++i) file.push_back(char(0x3C));
        }
    }
    return file;
}

GrfSample grfSample() {
    // "F", then three zeros from a repeat count ("I" = 3), then ":" repeats the row.
    return {"FI0\r\n:", std::string("\xF0\x00\xF0\x00", 4), 2};
}

std::string base64(const std::string &bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t block = uint32_t(uint8_t(bytes[i])) << 16;
        if (i + 1 < bytes.size()) block |= uint32_t(uint8_t(bytes[i + 1])) << 8;
        if (i + 2 < bytes.size()) block |= uint32_t(uint8_t(bytes[i + 2]));
        text.push_back(digits[(block >> 18) & 63]);
        text.push_back(digits[(block >> 12) & 63]);
        text.push_back(i + 1 < bytes.size() ? digits[(block >> 6) & 63] : '=');
        text.push_back(i + 2 < bytes.size() ? digits[block & 63] : '=');
    }
    return text;
}

PngSample pngSample() {
    const std::string file = std::string("\x89PNG\r\n\x1a\n", 8) + std::string("\x00\x00\x00\x0dIHDR\x01\x02\xff", 12);
    return {file, base64(file) + ":3A7F"};
}

std::string trueTypeFile() {
    std::string file("\x00\x01\x00\x00\x00\x04", 6);
    for (int i = 0; i < 200; ++i) file.push_back(char(i));
    return file;
}

}  // namespace emulator_test
