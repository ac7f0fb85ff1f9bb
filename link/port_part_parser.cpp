#include "port_part_parser.h"

#include <array>
#include <string>

namespace printer_link {
namespace {

// Splits off the text before the next ","; nothing when there is no ",".
std::optional<std::u16string_view> nextField(std::u16string_view &rest) {
    size_t comma = rest.find(u',');
    if (comma == std::u16string_view::npos) return std::nullopt;
    std::u16string_view field = rest.substr(0, comma);
    rest.remove_prefix(comma + 1);
    return field;
}

// "COM" + number, or the text itself when it is a device path.
std::u16string portName(std::u16string_view prefix, std::u16string_view text) {
    if (!text.empty() && text.front() == u'/') return std::u16string(text);
    return std::u16string(prefix) + std::u16string(text);
}

bool parseSerial(std::u16string_view rest, tagPORTINFO &port) {
    std::array<std::u16string_view, 6> fields;
    for (size_t i = 0; i < 5; ++i) {
        std::optional<std::u16string_view> field = nextField(rest);
        if (!field) return false;
        fields[i] = *field;
    }
    fields[5] = rest;
    if (!setFieldText(port.COMPortName, portName(u"COM", fields[0]))) return false;
    port.PortType = kSerialPort;
    port.BaudRate = decimalValue(fields[1]);
    port.DataSize = decimalValue(fields[2]);
    port.StopBits = decimalValue(fields[3]);
    port.ParityBits = decimalValue(fields[4]);
    port.FlowControl = decimalValue(fields[5]);
    return true;
}

bool parseNetwork(std::u16string_view rest, ParsedPortPart &parsed) {
    std::optional<std::u16string_view> address = nextField(rest);
    if (!address || !setFieldText(parsed.port.NetAddress, *address)) return false;
    parsed.port.PortType = kNetworkPrinter;
    parsed.port.NetPort = decimalValue(rest);
    parsed.netIPVersion = address->size() > 15 ? 3 : 2;
    return true;
}

}  // namespace

std::optional<ParsedPortPart> parsePortPart(std::u16string_view text, const tagPORTINFO &current) {
    ParsedPortPart parsed{current, std::nullopt};
    tagPORTINFO &port = parsed.port;
    std::optional<std::u16string_view> keyword = nextField(text);
    if (!keyword) return std::nullopt;

    bool ok = false;
    if (*keyword == u"COM") {
        ok = parseSerial(text, port);
    } else if (*keyword == u"LPT") {
        ok = setFieldText(port.LPTPortName, portName(u"LPT", text));
        port.PortType = kParallelPort;
    } else if (*keyword == u"USBClass") {
        ok = setFieldText(port.USBClassName, text);
        port.PortType = kUsbClassPrinter;
    } else if (*keyword == u"USBAPI") {
        ok = true;
        port.PortType = kVendorUsbDevice;
        port.USBAPIIndex = decimalValue(text);
    } else if (*keyword == u"NET") {
        ok = parseNetwork(text, parsed);
    } else if (*keyword == u"DRIVER") {
        ok = setFieldText(port.DriverPrinterName, text);
        port.PortType = kSpoolerPrinter;
    }
    if (!ok) return std::nullopt;
    return parsed;
}

}  // namespace printer_link
