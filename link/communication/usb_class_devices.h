// USB printer-class devices (the kernel's usblp driver): their names and device nodes.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace communication {

struct UsbClassPrinter {
    std::string name;        // shown to users and stored in USBClassName
    std::string devicePath;  // <device root>/usb/lpN
    // What the printer says about itself, for matching spooler device URIs.
    std::string manufacturer, product, serial;
};

// The printers listed under <sysfs root>/class/usbmisc, in the order of their node numbers.
// A name is manufacturer, product and serial number joined by spaces (whichever the device
// reports; "lpN" when it reports none); '@' in them becomes '_' because it separates names in
// the enumeration text. Devices that would share a name get " (lpN)" appended.
std::vector<UsbClassPrinter> usbClassPrinters();

// The device node for a name from usbClassPrinters(); a name starting with "/" is taken as a
// device path. Throws DeviceNotFound for a name no attached printer has.
std::string usbClassDevicePath(const std::string &name);

// The node of the printer whose make, model and (when given) serial number match, ignoring
// letter case; a spooler's USB device URI names its printer this way.
std::optional<std::string> usbClassDeviceFor(const std::string &make, const std::string &model,
                                             const std::string &serial);

}  // namespace communication
