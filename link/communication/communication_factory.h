// Makes protocol objects for port descriptions and owns them.
#pragma once

#include "communication_export.h"
#include "communication_protocol.h"
#include "link/port_info.h"

#include <memory>
#include <vector>

// A caller makes a factory, asks it for a protocol object, uses the object and destroys the
// factory, which destroys the objects it made (closing their ports). Not for concurrent use.
class COMMUNICATION_API CCommunicationFactory {
public:
    CCommunicationFactory();
    ~CCommunicationFactory();
    CCommunicationFactory(const CCommunicationFactory &) = delete;
    CCommunicationFactory &operator=(const CCommunicationFactory &) = delete;

    // A protocol object for port.PortType; never null. The object lives as long as the factory.
    // An unknown kind still gives an object, whose Open throws UnknownPortKind.
    CCommunicationProtocol *CreateFacory(printer_link::tagPORTINFO port);

private:
    std::vector<std::unique_ptr<CCommunicationProtocol>> protocols_;
};
