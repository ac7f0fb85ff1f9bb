// The protocol object the factory hands out: one port kind, its time-outs and its last error.
#pragma once

#include "communication_protocol.h"
#include "port.h"

namespace communication {

class PortProtocol final : public CCommunicationProtocol {
public:
    explicit PortProtocol(int32_t kind) : kind_(kind) {}

    bool Open(printer_link::tagPORTINFO port) override;
    bool Read(unsigned char *buffer, std::size_t capacity, std::size_t &count) override;
    bool Write(const unsigned char *data, std::size_t length, std::size_t &count) override;
    bool SetTimeouts(int readTimeout, int writeTimeout) override;
    bool Close() override;
    bool EnumUSBClassPrinters(char *buffer, std::size_t capacity) override;
    int GetOnlinePrinters() override;
    int GetPrinterIP(char *buffer, std::size_t capacity, int ipVersion) override;

private:
    // Runs an operation; a failure is recorded for GetErrorCode and thrown as
    // CommunicationException whatever its origin.
    template <typename Operation>
    auto recorded(Operation &&operation) -> decltype(operation());

    Port &openPort();

    int32_t kind_;
    std::unique_ptr<Port> port_;
    milliseconds readTimeout_{1000};
    milliseconds writeTimeout_{1000};
};

}  // namespace communication
