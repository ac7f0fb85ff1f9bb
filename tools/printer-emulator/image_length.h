// The length of a BMP or PCX file told by its own header, for downloads that do not announce
// a length.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace emulator {

struct FileLength {
    enum class Status { Known, NeedMore, Invalid };
    Status status = Status::NeedMore;
    uint64_t bytes = 0;  // Known: the file's length
    size_t need = 0;     // NeedMore: read on once this many bytes are there
    std::string problem; // Invalid
};

// From the file size field of the BMP file header.
FileLength bmpFileLength(std::string_view data);
// From the 128-byte header and the run-length-encoded rows that follow it, plus the 769-byte
// palette of 256-colour files.
FileLength pcxFileLength(std::string_view data);

}  // namespace emulator
