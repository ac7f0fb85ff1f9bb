#include "device_names.h"

#include "communication_environment.h"
#include "failure.h"

#include <charconv>

namespace communication {
namespace {

bool startsWithIgnoringCase(const std::string &text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if ((text[i] | 0x20) != prefix[i]) return false;
    return true;
}

std::string numberedDevice(const std::string &name, std::string_view prefix, const char *node,
                           const char *kind) {
    if (!name.empty() && name.front() == '/') return name;
    unsigned number = 0;
    const char *first = name.data() + prefix.size();
    const char *last = name.data() + name.size();
    if (startsWithIgnoringCase(name, prefix) && first != last) {
        auto [end, error] = std::from_chars(first, last, number);
        if (error == std::errc() && end == last && number >= 1)
            return (deviceRoot() / (node + std::to_string(number - 1))).string();
    }
    std::string shown(prefix);
    for (char &c : shown) c = char(c & ~0x20);
    fail(CommunicationError::InvalidPortName, "\"" + name + "\" is not a " + kind + " port name (" +
                                                  shown + "1, " + shown + "2, ... or a device path)");
}

}  // namespace

std::string serialDevicePath(const std::string &name) {
    return numberedDevice(name, "com", "ttyS", "serial");
}

std::string parallelDevicePath(const std::string &name) {
    return numberedDevice(name, "lpt", "lp", "parallel");
}

}  // namespace communication
