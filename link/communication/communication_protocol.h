// One open connection to a printer, of the port kind it was made for.
#pragma once

#include "communication_export.h"
#include "link/port_info.h"

#include <atomic>
#include <cstddef>

// Every operation reports failure by throwing CommunicationException; the boolean results are
// always true and exist so callers may ignore them. One object serves one thread at a time.
//
// Time-outs count in units of 10 ms and start at 100 (one second) until SetTimeouts changes them.
class COMMUNICATION_API CCommunicationProtocol {
public:
    virtual ~CCommunicationProtocol();

    // Opens the port that port describes (the kind is the one the object was made for). An open
    // port is closed first.
    virtual bool Open(printer_link::tagPORTINFO port) = 0;

    // Waits at most the read time-out for bytes and returns what arrived, up to capacity;
    // count 0 means nothing arrived (or the peer ended the connection).
    virtual bool Read(unsigned char *buffer, std::size_t capacity, std::size_t &count) = 0;

    // Sends all bytes; count is then length. Throws WriteTimedOut when the port accepts no byte
    // for the write time-out, however long the whole stream takes.
    virtual bool Write(const unsigned char *data, std::size_t length, std::size_t &count) = 0;

    // Time-outs for later reads and writes, in units of 10 ms; negative values count as 0.
    virtual bool SetTimeouts(int readTimeout, int writeTimeout) = 0;

    // Releases the port; closing a closed port does nothing.
    virtual bool Close() = 0;

    // Names of USB printer-class devices, each ended by "@", as a NUL-terminated text in buffer.
    // Names that do not fit in capacity are left out whole. Needs no Open.
    virtual bool EnumUSBClassPrinters(char *buffer, std::size_t capacity) = 0;

    // The number of devices on the maker's USB interface (the vendor id in KDX_USB_VENDOR_ID);
    // 0 when none is configured or attached. Needs no Open.
    virtual int GetOnlinePrinters() = 0;

    // Addresses of network printers for ipVersion 2 (IPv4) or 3 (IPv6), each ended by "@", as a
    // NUL-terminated text; returns how many were written, 0 when none. Asks DNS-SD when a daemon
    // runs and probes only the networks listed in KDX_SEARCH_NETWORKS. Needs no Open.
    virtual int GetPrinterIP(char *buffer, std::size_t capacity, int ipVersion) = 0;

    // The code of the last failure of this object (CommunicationError), 0 when none.
    int GetErrorCode() const { return errorCode_.load(); }

protected:
    void setErrorCode(int code) { errorCode_.store(code); }

private:
    std::atomic<int> errorCode_{0};
};
