// A fake kernel device tree with USB printer-class devices, for enumeration tests.
#pragma once

#include "temp_dir.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace test_support {

// A kernel device tree as the USB printer driver lays it out:
//   sys/class/usbmisc/lpN -> ../../devices/.../<usb device>/<interface>/usbmisc/lpN
//   .../usbmisc/lpN/device -> ../.. (the interface, which may hold ieee1284_id)
//   <usb device>/manufacturer, product, serial
class UsbFixture {
public:
    struct Device {
        std::string node, manufacturer, product, serial, deviceId;
    };

    explicit UsbFixture(const std::vector<Device> &devices) {
        std::filesystem::create_directories(root_ / "sys/class/usbmisc");
        std::filesystem::create_directories(root_ / "dev/usb");
        int port = 1;
        for (const Device &device : devices) {
            const std::filesystem::path usb = root_ / "sys/devices/pci0000:00/0000:00:14.0/usb1" / ("1-" + std::to_string(port));
            const std::filesystem::path interface = usb / ("1-" + std::to_string(port++) + ":1.0");
            const std::filesystem::path entry = interface / "usbmisc" / device.node;
            std::filesystem::create_directories(entry);
            std::filesystem::create_directory_symlink("../..", entry / "device");
            std::filesystem::create_directory_symlink(std::filesystem::relative(entry, root_ / "sys/class/usbmisc"), root_ / "sys/class/usbmisc" / device.node);
            put(usb / "manufacturer", device.manufacturer);
            put(usb / "product", device.product);
            put(usb / "serial", device.serial);
            put(interface / "ieee1284_id", device.deviceId);
        }
        // Another kind of device the same class folder holds.
        std::filesystem::create_directories(root_ / "sys/devices/virtual/usbmisc/hiddev0");
        std::filesystem::create_directory_symlink("../../devices/virtual/usbmisc/hiddev0", root_ / "sys/class/usbmisc/hiddev0");
    }

    std::filesystem::path dev() const { return root_ / "dev"; }
    std::filesystem::path sys() const { return root_ / "sys"; }

private:
    static void put(const std::filesystem::path &file, const std::string &text) {
        if (!text.empty()) std::ofstream(file) << text << "\n";
    }

    TempDir root_;
};

}  // namespace test_support
