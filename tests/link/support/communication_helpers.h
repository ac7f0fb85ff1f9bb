// Short ways to drive the communication library from tests.
#pragma once

#include "communication.h"

#include <gtest/gtest.h>

#include <string>

namespace test_support {

inline printer_link::tagPORTINFO portOfKind(int32_t kind) {
    printer_link::tagPORTINFO port{};
    port.PortType = kind;
    return port;
}

inline printer_link::tagPORTINFO serialPort(const std::string &name, int baud = 9600, int dataBits = 8,
                                            int stopBits = 0, int parity = 0, int flow = 3) {
    printer_link::tagPORTINFO port = portOfKind(printer_link::kSerialPort);
    printer_link::setFieldText(port.COMPortName, std::u16string(name.begin(), name.end()));
    port.BaudRate = baud;
    port.DataSize = dataBits;
    port.StopBits = stopBits;
    port.ParityBits = parity;
    port.FlowControl = flow;
    return port;
}

inline printer_link::tagPORTINFO networkPort(const std::string &address, int tcpPort) {
    printer_link::tagPORTINFO port = portOfKind(printer_link::kNetworkPrinter);
    printer_link::setFieldText(port.NetAddress, std::u16string(address.begin(), address.end()));
    port.NetPort = tcpPort;
    return port;
}

inline size_t writeText(CCommunicationProtocol &protocol, const std::string &text) {
    size_t count = 0;
    protocol.Write(reinterpret_cast<const unsigned char *>(text.data()), text.size(), count);
    return count;
}

// One read of up to 1024 bytes, as the transactions do.
inline std::string readOnce(CCommunicationProtocol &protocol) {
    unsigned char buffer[1024] = {};
    size_t count = 0;
    protocol.Read(buffer, sizeof buffer, count);
    return std::string(reinterpret_cast<char *>(buffer), count);
}

// Reads until count bytes arrived or a read brings nothing.
inline std::string readAtLeast(CCommunicationProtocol &protocol, size_t count) {
    std::string data;
    while (data.size() < count) {
        std::string part = readOnce(protocol);
        if (part.empty()) break;
        data += part;
    }
    return data;
}

// The code of the CommunicationException that operation throws; fails the test if none.
template <typename Operation>
CommunicationError thrownCode(Operation &&operation) {
    try {
        operation();
    } catch (const CommunicationException &failure) {
        EXPECT_FALSE(std::string(failure.what()).empty());
        return failure.code();
    }
    ADD_FAILURE() << "no CommunicationException was thrown";
    return CommunicationError::None;
}

}  // namespace test_support
