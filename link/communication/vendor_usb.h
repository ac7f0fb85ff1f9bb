// Devices of the maker's USB interface, reached directly through libusb by vendor id.
#pragma once

#include "port.h"

namespace communication {

// The number of attached devices with the configured vendor (and, when set, product) id;
// 0 when no vendor id is configured or no USB bus can be read.
int countVendorUsbDevices();

// Opens the index-th of those devices (counting from 0, in bus and port order), claims its
// first interface with bulk endpoints in both directions, and moves data through them.
// Throws DeviceNotFound, OpenFailed or UsbFailed.
std::unique_ptr<Port> openVendorUsbDevice(int index);

}  // namespace communication
