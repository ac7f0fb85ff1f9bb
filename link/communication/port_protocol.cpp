#include "port_protocol.h"

#include "failure.h"
#include "network_search.h"
#include "port_opening.h"
#include "usb_class_devices.h"
#include "vendor_usb.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace communication {
namespace {

// One time-out unit of the interface is 10 ms.
milliseconds fromUnits(int units) { return milliseconds(int64_t(std::max(units, 0)) * 10); }

// Writes the texts, each followed by "@", as long as whole texts fit beside the final NUL.
int writeEnded(char *buffer, size_t capacity, const std::vector<std::string> &texts) {
    if (!buffer) fail(CommunicationError::InvalidArgument, "no buffer for the result");
    if (capacity == 0) return 0;
    size_t used = 0;
    int written = 0;
    for (const std::string &text : texts) {
        if (used + text.size() + 1 > capacity - 1) break;
        std::memcpy(buffer + used, text.data(), text.size());
        used += text.size();
        buffer[used++] = '@';
        ++written;
    }
    buffer[used] = '\0';
    return written;
}

}  // namespace

template <typename Operation>
auto PortProtocol::recorded(Operation &&operation) -> decltype(operation()) {
    try {
        return operation();
    } catch (const CommunicationException &failure) {
        setErrorCode(failure.GetErrorCode());
        throw;
    } catch (const std::bad_alloc &) {
        setErrorCode(int(CommunicationError::SystemFailure));
        throw CommunicationException(CommunicationError::SystemFailure, "out of memory");
    } catch (const std::exception &failure) {
        setErrorCode(int(CommunicationError::SystemFailure));
        throw CommunicationException(CommunicationError::SystemFailure, failure.what());
    }
}

Port &PortProtocol::openPort() {
    if (!port_) fail(CommunicationError::NotOpen, "the port is not open");
    return *port_;
}

bool PortProtocol::Open(printer_link::tagPORTINFO port) {
    return recorded([&] {
        port_.reset();
        port_ = communication::openPort(kind_, port);
        return true;
    });
}

bool PortProtocol::Read(unsigned char *buffer, std::size_t capacity, std::size_t &count) {
    count = 0;
    return recorded([&] {
        if (!buffer && capacity > 0) fail(CommunicationError::InvalidArgument, "no buffer to read into");
        count = openPort().read(buffer, capacity, readTimeout_);
        return true;
    });
}

bool PortProtocol::Write(const unsigned char *data, std::size_t length, std::size_t &count) {
    count = 0;
    return recorded([&] {
        if (!data && length > 0) fail(CommunicationError::InvalidArgument, "no data to write");
        Port &port = openPort();
        if (length > 0) port.write(data, length, writeTimeout_);
        count = length;
        return true;
    });
}

bool PortProtocol::SetTimeouts(int readTimeout, int writeTimeout) {
    readTimeout_ = fromUnits(readTimeout);
    writeTimeout_ = fromUnits(writeTimeout);
    return true;
}

bool PortProtocol::Close() {
    // The port is released whatever finish() reports.
    std::unique_ptr<communication::Port> closing = std::move(port_);
    if (closing) recorded([&] { closing->finish(std::min(writeTimeout_, communication::milliseconds(1000))); });
    return true;
}

bool PortProtocol::EnumUSBClassPrinters(char *buffer, std::size_t capacity) {
    return recorded([&] {
        std::vector<std::string> names;
        for (const UsbClassPrinter &printer : usbClassPrinters()) names.push_back(printer.name);
        writeEnded(buffer, capacity, names);
        return true;
    });
}

int PortProtocol::GetOnlinePrinters() {
    return recorded([&] { return countVendorUsbDevices(); });
}

int PortProtocol::GetPrinterIP(char *buffer, std::size_t capacity, int ipVersion) {
    return recorded([&] { return writeEnded(buffer, capacity, searchNetworkPrinters(ipVersion)); });
}

}  // namespace communication
