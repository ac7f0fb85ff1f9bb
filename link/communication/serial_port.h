// Serial ports through termios.
#pragma once

#include "port.h"

#include <string>

namespace communication {

struct SerialSettings {
    std::string device;     // device path
    int baudRate = 9600;
    int dataBits = 8;       // 5 to 8
    int stopBits = 0;       // 0 one, 1 one and a half (sent as two), 2 two
    int parity = 0;         // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int flowControl = 3;    // 0 DTR/DSR, 1 RTS/CTS, 2 XON/XOFF, 3 none
};

// Opens the device, puts it into raw mode with the given line settings and checks that the
// device took them; throws OpenFailed, DeviceNotFound or ConfigureFailed.
//
// Linux has no DSR-driven flow control: DTR/DSR asserts DTR and otherwise sends without flow
// control. One and a half stop bits are not expressible and are sent as two.
std::unique_ptr<Port> openSerialPort(const SerialSettings &settings);

}  // namespace communication
