// Config.ini as an INI file with the classic private-profile semantics.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// One INI file, read anew on every lookup and rewritten whole on every change.
//
// Reading: sections and keys are found case-insensitively (ASCII letters; other UTF-8 bytes must
// match exactly), the first of duplicate sections or keys wins, white space around names and
// values is ignored and one pair of matching quotes around a value is removed. Lines starting
// with ';' or '#' are comments. A missing file reads as an empty file.
//
// Writing: creates the file, the section and the key as needed and keeps every other line byte
// for byte (a changed key keeps its spelling; a new key follows the last entry of its section; a
// new section goes to the end). The new text goes to a temporary file in the same folder that is
// renamed over the old one, so a crash leaves either the old or the new file, never a mix. The
// folder must exist. Writes from threads of one process are serialised; separate processes
// writing at once may lose one of the changes, never the file.
//
// Values are UTF-8 text. A value is written on one line: CR and LF in it are refused.
class ProfileStore {
public:
    explicit ProfileStore(std::filesystem::path file);

    const std::filesystem::path &file() const { return file_; }

    // The value of the key, or nothing when the file, section or key is missing. A key that is
    // present with an empty value gives an empty text.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;

    // The value of the key, or fallback when it is missing.
    std::string read(std::string_view section, std::string_view key,
                     std::string_view fallback) const;

    // Sets the key; false when the section, key or value cannot be stored (empty names, line
    // breaks, '=' or ']' in a name) or the file cannot be written.
    bool write(std::string_view section, std::string_view key, std::string_view value);

private:
    std::filesystem::path file_;
};

}  // namespace platform
