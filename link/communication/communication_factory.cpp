#include "communication_factory.h"

#include "port_protocol.h"

CCommunicationProtocol::~CCommunicationProtocol() = default;

CCommunicationFactory::CCommunicationFactory() = default;

CCommunicationFactory::~CCommunicationFactory() = default;

CCommunicationProtocol *CCommunicationFactory::CreateFacory(printer_link::tagPORTINFO port) {
    // Every kind gets the same object type: the kind only decides what Open opens, and the
    // enumeration and search operations need no port at all.
    protocols_.push_back(std::make_unique<communication::PortProtocol>(port.PortType));
    return protocols_.back().get();
}
