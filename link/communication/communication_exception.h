// The failure the communication library reports: an error code and a message a user can act on.
#pragma once

#include "communication_export.h"

#include <stdexcept>
#include <string>

// Codes returned by CommunicationException::GetErrorCode and CCommunicationProtocol::GetErrorCode.
enum class CommunicationError : int {
    None = 0,
    UnknownPortKind = 1,       // PortType is not one of the kinds 1 to 7
    InvalidPortName = 2,       // a name or address that does not name a port
    DeviceNotFound = 3,        // no such device, queue or enumerated name
    OpenFailed = 4,            // the device exists but cannot be opened
    ConfigureFailed = 5,       // line settings the device refuses or that cannot be expressed
    NotOpen = 6,               // Read or Write before Open (or after Close)
    ReadFailed = 7,
    WriteFailed = 8,
    WriteTimedOut = 9,         // the port accepted no byte within the write time-out
    ConnectFailed = 10,        // the network printer refused or could not be reached
    ConnectTimedOut = 11,
    SpoolerFailed = 12,        // the print spooler refused a request
    UnsupportedDevice = 13,    // the queue's device is not one this library can reach itself
    SearchFailed = 14,         // the network search could not run
    InvalidArgument = 15,
    InvalidConfiguration = 16, // a malformed KDX_* setting
    UsbFailed = 17,            // the USB library reported a failure
    SystemFailure = 18,        // an unexpected failure inside the library (memory, file system)
};

// Thrown by value; catch it by reference.
class COMMUNICATION_API CommunicationException : public std::runtime_error {
public:
    CommunicationException(CommunicationError code, const std::string &message);

    int GetErrorCode() const { return static_cast<int>(code_); }
    CommunicationError code() const { return code_; }

private:
    CommunicationError code_;
};
