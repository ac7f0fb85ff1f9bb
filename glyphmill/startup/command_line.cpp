#include "command_line.h"

#include <array>

namespace glyphmill {

bool ParseCommandLine(std::u16string_view line, PrinterChoice &choice, printer_link::LinkSettings &link,
                      const ModuleBinder &bind) {
    if (line.empty()) return false;
    constexpr std::u16string_view noArguments = u".exe\" ";
    if (line.size() >= noArguments.size() && line.substr(line.size() - noArguments.size()) == noArguments)
        return true;

    const std::size_t comma = line.find(u',');
    const std::u16string_view field = line.substr(0, comma);
    static constexpr std::array<std::u16string_view, 5> languages{u"KDXA", u"KDXZ", u"KDXE", u"KDXT", u"KDXC"};
    bool known = false;
    for (std::u16string_view language : languages) known = known || field == language;
    if (!known) return false;

    choice.language = std::string(field.begin(), field.end());
    choice.memoryType = "FLASH";
    if (!bind(choice.language)) return false;
    if (comma == std::u16string_view::npos) return false;
    return link.takeCommandLine(line.substr(comma + 1));
}

}  // namespace glyphmill
