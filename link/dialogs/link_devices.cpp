#include "link_dialog_context.h"

#include <array>
#include <cstring>

#include "link/communication/communication.h"
#include "link/transactions/transactions.h"

namespace printer_link {
namespace {

tagPORTINFO portOfKind(PortKind kind) {
    tagPORTINFO port{};
    port.PortType = kind;
    return port;
}

std::string enumerateUsbClassPrinters() {
    CCommunicationFactory factory;
    std::array<char, 1024> buffer{};
    factory.CreateFacory(portOfKind(kUsbClassPrinter))->EnumUSBClassPrinters(buffer.data(), buffer.size());
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

int countVendorUsbDevices() {
    CCommunicationFactory factory;
    return factory.CreateFacory(portOfKind(kVendorUsbDevice))->GetOnlinePrinters();
}

}  // namespace

LinkDevices LinkDevices::library() {
    LinkDevices devices;
    devices.testPort = [](const tagPORTINFO &port) { return TestPort(port); };
    devices.usbClassPrinters = enumerateUsbClassPrinters;
    devices.vendorUsbDevices = countVendorUsbDevices;
    devices.installedPrinters = ListInstalledPrinters;
    return devices;
}

}  // namespace printer_link
