#include "stream_log.h"


#include "byte_text.h"
#include "printer_emulator.h"

namespace emulator {

StreamLog::StreamLog(std::filesystem::path folder) : folder_(std::move(folder)) {
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (!std::filesystem::is_directory(folder_))
        throw EmulatorError("cannot create the log folder " + folder_.string() + ": " + error.message());
    for (const auto &entry : std::filesystem::directory_iterator(folder_, error)) {
        const std::string stem = entry.path().stem().string();
        if (entry.path().extension() != ".bin") continue;
        if (const auto number = decimalValue(stem); number && *number > number_ && *number < 1'000'000'000)
            number_ = static_cast<unsigned>(*number);
    }
}

StreamLog::File::File(const std::filesystem::path &path) : out_(path, std::ios::binary | std::ios::trunc) {
    if (!out_) throw EmulatorError("cannot write " + path.string());
}

void StreamLog::File::append(std::string_view bytes) {
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out_.flush();
}

std::unique_ptr<StreamLog::File> StreamLog::next() {
    ++number_;
    return std::make_unique<File>(folder_ / (zeroPadded(number_, 4) + ".bin"));
}

}  // namespace emulator
