#include "port_opening.h"

#include "device_names.h"
#include "failure.h"
#include "fd_io.h"
#include "serial_port.h"
#include "spooler_ports.h"
#include "tcp_port.h"
#include "usb_class_devices.h"
#include "vendor_usb.h"

namespace communication {
namespace {

using printer_link::tagPORTINFO;

template <size_t N>
std::string text(const char16_t (&field)[N], const char *what) {
    std::optional<std::string> value = printer_link::fieldUtf8(field);
    if (!value) fail(CommunicationError::InvalidPortName, std::string("the ") + what + " is not valid text");
    return *value;
}

std::unique_ptr<Port> openDevicePort(const std::string &path, const std::string &what) {
    return std::make_unique<FdPort>(openDevice(path, what), FdTraits{what, false, false});
}

}  // namespace

std::unique_ptr<Port> openPort(int32_t kind, const tagPORTINFO &port) {
    switch (kind) {
    case printer_link::kSerialPort: {
        SerialSettings settings;
        settings.device = serialDevicePath(text(port.COMPortName, "serial port name"));
        settings.baudRate = port.BaudRate;
        settings.dataBits = port.DataSize;
        settings.stopBits = port.StopBits;
        settings.parity = port.ParityBits;
        settings.flowControl = port.FlowControl;
        return openSerialPort(settings);
    }
    case printer_link::kParallelPort: {
        const std::string path = parallelDevicePath(text(port.LPTPortName, "parallel port name"));
        return openDevicePort(path, "parallel port " + path);
    }
    case printer_link::kUsbClassPrinter: {
        const std::string path = usbClassDevicePath(text(port.USBClassName, "USB printer name"));
        return openDevicePort(path, "USB printer " + path);
    }
    case printer_link::kVendorUsbDevice: return openVendorUsbDevice(port.USBAPIIndex);
    case printer_link::kSpoolerSendOnly: return openSpoolerJobPort(text(port.DriverPrinterName, "printer name"));
    case printer_link::kSpoolerPrinter: return openSpoolerDevice(text(port.DriverPrinterName, "printer name"));
    case printer_link::kNetworkPrinter: return connectTcp(text(port.NetAddress, "network address"), port.NetPort);
    }
    fail(CommunicationError::UnknownPortKind, "port kind " + std::to_string(kind) + " is not one of 1 to 7");
}

}  // namespace communication
