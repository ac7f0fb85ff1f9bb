#include "usb_class_devices.h"

#include "communication_environment.h"
#include "failure.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>

namespace communication {
namespace fs = std::filesystem;
namespace {

// The longest name a USBClassName field can hold, in bytes of UTF-8 (never more units).
constexpr size_t kNameBytes = 259;

std::string attribute(const fs::path &file) {
    std::ifstream in(file);
    std::string text;
    std::getline(in, text);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\t')) text.pop_back();
    return text;
}

// The value of KEY: in an IEEE 1284 device id "MFG:Maker;MDL:Model;SN:123;".
std::string deviceIdValue(const std::string &id, std::initializer_list<std::string_view> keys) {
    size_t start = 0;
    while (start < id.size()) {
        size_t end = id.find(';', start);
        if (end == std::string::npos) end = id.size();
        std::string_view item(id.data() + start, end - start);
        size_t colon = item.find(':');
        if (colon != std::string_view::npos)
            for (std::string_view key : keys)
                if (item.substr(0, colon) == key) return std::string(item.substr(colon + 1));
        start = end + 1;
    }
    return {};
}

std::string cleanName(std::string name) {
    for (char &c : name)
        if (c == '@' || (unsigned char)c < 0x20) c = '_';
    if (name.size() > kNameBytes) {
        size_t cut = kNameBytes;
        while (cut > 0 && ((unsigned char)name[cut] & 0xC0) == 0x80) --cut;
        name.resize(cut);
    }
    return name;
}

bool sameText(const std::string &a, const std::string &b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return std::tolower((unsigned char)x) == std::tolower((unsigned char)y); });
}

std::optional<unsigned> nodeNumber(const std::string &entry) {
    if (entry.size() < 3 || entry.compare(0, 2, "lp") != 0) return std::nullopt;
    unsigned number = 0;
    auto [end, error] = std::from_chars(entry.data() + 2, entry.data() + entry.size(), number);
    if (error != std::errc() || end != entry.data() + entry.size()) return std::nullopt;
    return number;
}

UsbClassPrinter describe(const fs::path &classEntry, const std::string &node) {
    UsbClassPrinter printer;
    printer.devicePath = (deviceRoot() / "usb" / node).string();
    std::error_code error;
    fs::path interface = fs::canonical(classEntry / "device", error);
    if (!error) {
        fs::path device = interface.parent_path();
        printer.manufacturer = attribute(device / "manufacturer");
        printer.product = attribute(device / "product");
        printer.serial = attribute(device / "serial");
        // The printer's own description, when the device reports one, complements the USB strings.
        const std::string id = attribute(interface / "ieee1284_id");
        if (printer.manufacturer.empty()) printer.manufacturer = deviceIdValue(id, {"MFG", "MANUFACTURER"});
        if (printer.product.empty()) printer.product = deviceIdValue(id, {"MDL", "MODEL"});
        if (printer.serial.empty()) printer.serial = deviceIdValue(id, {"SN", "SERN", "SERIALNUMBER"});
    }
    std::string name;
    for (const std::string *part : {&printer.manufacturer, &printer.product, &printer.serial})
        if (!part->empty()) name += (name.empty() ? "" : " ") + *part;
    printer.name = cleanName(name.empty() ? node : name);
    return printer;
}

}  // namespace

std::vector<UsbClassPrinter> usbClassPrinters() {
    std::map<unsigned, UsbClassPrinter> byNumber;
    std::error_code error;
    for (const fs::directory_entry &entry : fs::directory_iterator(sysfsRoot() / "class" / "usbmisc", error)) {
        const std::string node = entry.path().filename().string();
        if (std::optional<unsigned> number = nodeNumber(node)) byNumber[*number] = describe(entry.path(), node);
    }
    std::vector<UsbClassPrinter> printers;
    for (auto &[number, printer] : byNumber) printers.push_back(std::move(printer));
    // Two identical printers without serial numbers still need names that tell them apart.
    std::map<std::string, int> uses;
    for (const UsbClassPrinter &printer : printers) ++uses[printer.name];
    for (UsbClassPrinter &printer : printers)
        if (uses[printer.name] > 1)
            printer.name = cleanName(printer.name + " (" + fs::path(printer.devicePath).filename().string() + ")");
    return printers;
}

std::string usbClassDevicePath(const std::string &name) {
    if (!name.empty() && name.front() == '/') return name;
    for (const UsbClassPrinter &printer : usbClassPrinters())
        if (printer.name == name) return printer.devicePath;
    fail(CommunicationError::DeviceNotFound, "no USB printer named \"" + name + "\" is attached");
}

std::optional<std::string> usbClassDeviceFor(const std::string &make, const std::string &model,
                                             const std::string &serial) {
    for (const UsbClassPrinter &printer : usbClassPrinters())
        if (sameText(printer.manufacturer, make) && sameText(printer.product, model) &&
            (serial.empty() || sameText(printer.serial, serial)))
            return printer.devicePath;
    return std::nullopt;
}

}  // namespace communication
