// Commands of the language family whose commands begin with "^" or "~": the downloads
// ("~DY", "~DG", "~DE"), label formats ("^XA" ... "^XZ") and the directory listing. KDXZ
// speaks all of it, KDXT takes the same downloads and directory query, KDXE answers the
// same directory query.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "../language.h"

namespace emulator::caret {

// "R:" is RAM and "E:" FLASH; a path without a drive is in RAM.
struct DrivePath {
    std::optional<Memory> memory;  // empty for a drive the printer does not have
    char drive = 'R';
    std::string_view name;
};
DrivePath splitDrive(std::string_view path);
std::optional<Memory> driveMemory(char letter);

// A "~DY", "~DG" or "~DE" download at the start of input, applied to the device; empty when
// the input starts with none of them.
std::optional<Parsed> download(std::string_view input, bool endOfStream, Device &device);

// A label format from "^XA" to "^XZ" at the start of input: waits for "^XZ", then gives
// the block (both markers included) and consumes it.
struct LabelFormat {
    Parsed parsed;
    std::string_view block;
};
std::optional<LabelFormat> labelFormat(std::string_view input);

// The "^" commands of a block: the two letters after "^" (upper-cased) and the text up to
// the next "^".
struct Command {
    std::string code;
    std::string_view params;
};
std::vector<Command> commands(std::string_view block);

// The directory listing for a "^HW" path such as "R:*.*": a "DIR" header with the path, one
// "* R:NAME   size" line per matching object and "-" + `dash` + free bytes + " bytes free".
std::string directoryReply(std::string_view path, const Device &device, std::string_view dash);

// Bytes before the next "^" or "~" (at least one): what to skip when the input starts with
// nothing this family understands.
Parsed noise(std::string_view input);

}  // namespace emulator::caret
