// Installed printers: queues of the print spooler (CUPS).
#pragma once

#include "port.h"

#include <string>

namespace communication {

// Kind 5: every write is one raw job to the queue, passed to the printer byte for byte. Reads
// return nothing: a job has no way back. Throws DeviceNotFound for an unknown queue.
std::unique_ptr<Port> openSpoolerJobPort(const std::string &queue);

// Kind 6: the device behind the queue, opened directly so queries get the printer's reply.
// Works for device URIs this library can open itself (socket://, serial:, parallel:, USB
// printer-class devices); any other device throws UnsupportedDevice.
std::unique_ptr<Port> openSpoolerDevice(const std::string &queue);

}  // namespace communication
