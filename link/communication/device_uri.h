// Which device a print queue's device URI stands for, when the library can reach it itself.
#pragma once

#include "serial_port.h"

#include <optional>
#include <string>

namespace communication {

struct DeviceTarget {
    enum Kind { Network, Serial, DeviceFile } kind = Network;
    std::string host;       // Network
    int port = 9100;        // Network
    SerialSettings serial;  // Serial
    std::string path;       // DeviceFile: a parallel or USB printer-class node
};

// socket://host[:port] (9100 when no port is given), serial:/dev/...?baud=N+bits=N+parity=P+
// flow=F+stop=N, parallel:/dev/..., usb:/dev/... and usb://Make/Model?serial=S (the attached
// USB printer-class device with that make, model and serial number). Nothing for other schemes
// or a USB printer that is not attached.
std::optional<DeviceTarget> deviceTargetForUri(const std::string &uri);

}  // namespace communication
