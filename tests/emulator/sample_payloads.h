// Small graphic and font files for downloads, made in the test.
#pragma once

#include <cstdint>
#include <string>

namespace emulator_test {

// A 1-bit BMP file (black and white palette) of width x height pixels with a stripe pattern.
std::string monochromeBmp(uint32_t width, uint32_t height);

// A 1-bit PCX file of width x height pixels, run-length encoded; rows alternate between all
// black (a run) and a pattern (literal bytes).
std::string monochromePcx(uint32_t width, uint32_t height);

// A GRF graphic of two rows of two bytes: the compressed text and the rows it stands for.
struct GrfSample {
    std::string text;
    std::string rows;
    int32_t rowBytes;
};
GrfSample grfSample();

// Bytes that stand for a PNG file, and the Base64 text with a CRC that carries them.
struct PngSample {
    std::string file;
    std::string text;
};
PngSample pngSample();

// A TrueType file's stand-in: bytes that the printer stores unread.
std::string trueTypeFile();

std::string base64(const std::string &bytes);

}  // namespace emulator_test
