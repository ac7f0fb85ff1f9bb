// The port part of a command line such as "KDXZ,COM,3,115200,8,0,0,1": the text after the
// command language, naming the port kind by keyword and then its settings.
#pragma once

#include "port_info.h"

#include <optional>
#include <string_view>

namespace printer_link {

struct ParsedPortPart {
    tagPORTINFO port;                 // the working copy with the named port filled in
    std::optional<int> netIPVersion;  // 2 (IPv4) or 3 (IPv6), set by the NET keyword only
};

// Parses text such as "COM,3,115200,8,0,0,1", "LPT,1", "USBClass,<name>", "USBAPI,0",
// "NET,192.168.1.20,9100" or "DRIVER,<printer>". The keyword is compared exactly (case
// matters). The result starts as a copy of current, so fields of other kinds keep their values.
//
// - COM: port number, speed, data bits, stop code, parity code, flow code. The name is "COM" and
//   the number, or the field itself when it starts with "/" (a device path).
// - LPT: the rest of the line is the port number ("LPT" + rest) or, starting with "/", a path.
// - USBClass, DRIVER: the rest of the line is the device or printer name.
// - USBAPI: the device number, counting from 0 like USBAPIIndex: "USBAPI,0" is the first device.
// - NET: address, then TCP port; an address longer than 15 characters counts as IPv6.
//
// Numbers are read like atoi. Nothing is returned when a required "," is missing, the keyword
// is unknown, or a name or address is longer than its field holds (cutting it would name
// another port).
std::optional<ParsedPortPart> parsePortPart(std::u16string_view text, const tagPORTINFO &current);

}  // namespace printer_link
