// Saves each received stream as a numbered file (0001.bin, 0002.bin, ...) in a folder,
// continuing after the numbers already there. Used by the serving thread only.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <string_view>

namespace emulator {

class StreamLog {
public:
    // Creates the folder when needed; throws EmulatorError when it cannot.
    explicit StreamLog(std::filesystem::path folder);

    class File {
    public:
        explicit File(const std::filesystem::path &path);
        void append(std::string_view bytes);  // written through at once

    private:
        std::ofstream out_;
    };

    // The next numbered file, created empty.
    std::unique_ptr<File> next();

private:
    std::filesystem::path folder_;
    unsigned number_ = 0;
};

}  // namespace emulator
