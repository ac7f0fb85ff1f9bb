// From a port description to an open port of its kind.
#pragma once

#include "link/port_info.h"
#include "port.h"

namespace communication {

// Opens the port that port describes, as the given kind; throws CommunicationException.
std::unique_ptr<Port> openPort(int32_t kind, const printer_link::tagPORTINFO &port);

}  // namespace communication
