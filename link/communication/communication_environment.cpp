#include "communication_environment.h"

#include "failure.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace communication {
namespace {

std::string_view variable(const char *name) {
    const char *value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

// A whole-text number in the given base and range; a malformed value is reported, not guessed.
unsigned long number(const char *name, std::string_view text, int base, unsigned long max) {
    std::string copy(text);
    char *end = nullptr;
    errno = 0;
    unsigned long value = std::strtoul(copy.c_str(), &end, base);
    if (copy.empty() || *end != '\0' || errno != 0 || value > max || copy[0] == '-')
        fail(CommunicationError::InvalidConfiguration, std::string(name) + " is not valid: \"" + copy + "\"");
    return value;
}

std::optional<uint16_t> usbId(const char *name) {
    std::string_view text = variable(name);
    if (text.empty()) return std::nullopt;
    if (text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X") text.remove_prefix(2);
    return uint16_t(number(name, text, 16, 0xFFFF));
}

std::filesystem::path root(const char *name, const char *fallback) {
    std::string_view text = variable(name);
    return text.empty() ? std::filesystem::path(fallback) : std::filesystem::path(text);
}

}  // namespace

std::filesystem::path deviceRoot() { return root("KDX_DEV_ROOT", "/dev"); }

std::filesystem::path sysfsRoot() { return root("KDX_SYS_ROOT", "/sys"); }

std::string searchNetworks() { return std::string(variable("KDX_SEARCH_NETWORKS")); }

uint16_t searchPort() {
    std::string_view text = variable("KDX_SEARCH_PORT");
    if (text.empty()) return 9100;
    unsigned long port = number("KDX_SEARCH_PORT", text, 10, 65535);
    if (port == 0) fail(CommunicationError::InvalidConfiguration, "KDX_SEARCH_PORT must not be 0");
    return uint16_t(port);
}

std::chrono::milliseconds probeTimeout() {
    std::string_view text = variable("KDX_SEARCH_TIMEOUT_MS");
    return std::chrono::milliseconds(text.empty() ? 300 : number("KDX_SEARCH_TIMEOUT_MS", text, 10, 60000));
}

bool dnssdEnabled() {
    std::string_view text = variable("KDX_DNSSD");
    return text != "0" && text != "off";
}

std::chrono::milliseconds dnssdTimeout() {
    std::string_view text = variable("KDX_DNSSD_TIMEOUT_MS");
    return std::chrono::milliseconds(text.empty() ? 1500 : number("KDX_DNSSD_TIMEOUT_MS", text, 10, 60000));
}

std::optional<uint16_t> usbVendorId() { return usbId("KDX_USB_VENDOR_ID"); }

std::optional<uint16_t> usbProductId() { return usbId("KDX_USB_PRODUCT_ID"); }

}  // namespace communication
