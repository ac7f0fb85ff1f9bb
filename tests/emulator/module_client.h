// A real language module (<app>/DLL/<NAME>.so) used as the host uses it: it builds the
// commands sent to the emulated printer and parses the printer's replies.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kdx/module_abi.h"
#include "language_module.h"

namespace emulator_test {

// The file of a module under the test program folder.
std::string moduleFile(const std::string &language);
bool moduleAvailable(const std::string &language);

// Three 8 x 8 glyphs, codes 0x41 to 0x43 of the printable ASCII row.
struct SampleFont {
    uint16_t table[3] = {0x20, 0, 95};
    CodeRange range{table, 1, 0, 0x41 - 0x20, 0x41, 0, 0x43 - 0x20, 0x43, 3, 0};
    std::u16string name;
    std::vector<uint8_t> glyphs = std::vector<uint8_t>(24, 0x5A);
};

// Wide text of an ASCII string and back.
std::u16string wide(const std::string &text);
std::string narrow(const char16_t *text);

struct Listed {
    std::string memory, name, type, size;
};
Listed listed(const FileRecord &record);
FileRecord fileRecord(const std::string &memory, const std::string &name, const std::string &type);

class ModuleClient {
public:
    explicit ModuleClient(const std::string &language);

    // Each returns the bytes of the command, or nothing when the module refuses.
    std::optional<std::string> memoryQuery(uint8_t selector) const;
    std::optional<std::string> fileQuery(uint8_t selector, uint8_t kind) const;
    std::optional<std::string> trueType(const std::string &name, uint8_t selector, const std::string &file) const;
    std::optional<std::string> graphic(const std::string &name, const std::string &format, uint8_t selector,
                                       const std::string &payload, int32_t imageBytes, int32_t rowBytes) const;
    std::optional<std::string> bitmapFont(const SampleFont &font, uint8_t selector) const;
    std::optional<std::string> deleteCommand(const std::vector<FileRecord> &records) const;
    std::optional<std::string> formatCommand(const std::vector<FileRecord> &records) const;
    std::string printCommand(const FileRecord &record, const std::string &testText) const;
    std::vector<std::string> graphicFormats() const;

    // The parsers; nothing when they refuse the reply.
    std::optional<int64_t> freeBytes(uint8_t selector, const std::string &reply) const;
    std::optional<std::vector<FileRecord>> files(uint8_t selector, uint8_t kind, const std::string &reply) const;

private:
    template <typename Fn>
    Fn bind(const char *name) const;

    std::unique_ptr<kdx::LanguageModule> module_;
};

}  // namespace emulator_test
