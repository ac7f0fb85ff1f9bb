// The command line of glyphmill-cli: PARAMETERS [--memory RAM|FLASH] COMMAND [ARGS].
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link/port_info.h"

namespace glyphmill::cli {

struct Arguments {
    std::string language;             // KDXZ, KDXT, KDXA, KDXC or KDXE
    printer_link::tagPORTINFO port{};
    int netIPVersion = -1;
    std::string memoryType = "FLASH";
    std::string command;
    std::vector<std::string> operands;  // names or files
    std::optional<std::string> name;    // --name
    std::u16string testText = u"I am test string!";
    bool json = false;
    bool help = false;
};

// Throws UsageError with a message for the user when the line cannot be understood.
struct UsageError {
    std::string message;
};

Arguments parseArguments(const std::vector<std::string> &args);

extern const char *const kUsage;

}  // namespace glyphmill::cli
