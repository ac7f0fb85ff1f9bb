// The parameter list another program starts Glyphmill with: the command language, then the
// port part ("KDXZ,NET,192.168.1.20,9100"). A start without parameters is not a failure.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "link/link_settings.h"

namespace glyphmill {

struct PrinterChoice {
    std::string language;    // the current command language
    std::string memoryType;  // the current memory type
};

// Binds the module of a language; false when it cannot be loaded.
using ModuleBinder = std::function<bool(const std::string &language)>;

// Parses the command line as the system hands it over.
// - An empty line fails.
// - A line ending in ".exe" followed by a double quote and a blank is a start without
//   parameters: success, nothing changes.
// - Otherwise the first field must be exactly KDXA, KDXZ, KDXE, KDXT or KDXC: the language
//   becomes current, the memory type FLASH, and its module is bound; then the port part is
//   taken over by `link`. Any failure fails the parse.
bool ParseCommandLine(std::u16string_view line, PrinterChoice &choice, printer_link::LinkSettings &link,
                      const ModuleBinder &bind);

}  // namespace glyphmill
