#include "spooler_ports.h"

#include "device_uri.h"
#include "failure.h"
#include "fd_io.h"
#include "tcp_port.h"

#include <cups/cups.h>

namespace communication {
namespace {

struct IppResponse {
    ipp_t *message = nullptr;
    ~IppResponse() {
        if (message) ippDelete(message);
    }
};

// The queue's device URI; throws DeviceNotFound or SpoolerFailed.
std::string deviceUriOf(const std::string &queue) {
    if (queue.empty()) fail(CommunicationError::InvalidPortName, "no installed printer is set");
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s", queue.c_str());
    ipp_t *request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char *const wanted[] = {"device-uri", "printer-name"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, wanted);
    IppResponse response{cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/")};
    const ipp_status_t status = cupsLastError();
    if (status == IPP_STATUS_ERROR_NOT_FOUND)
        fail(CommunicationError::DeviceNotFound, "the installed printer \"" + queue + "\" does not exist");
    if (!response.message || status > IPP_STATUS_OK_CONFLICTING)
        fail(CommunicationError::SpoolerFailed,
             "the print spooler did not describe \"" + queue + "\": " + cupsLastErrorString());
    ipp_attribute_t *device = ippFindAttribute(response.message, "device-uri", IPP_TAG_URI);
    const char *text = device ? ippGetString(device, 0, nullptr) : nullptr;
    return text ? text : "";
}

class SpoolerJobPort final : public Port {
public:
    explicit SpoolerJobPort(std::string queue) : queue_(std::move(queue)) {
        deviceUriOf(queue_);  // refuses an unknown queue at open, as a device would
    }

    size_t read(uint8_t *, size_t, milliseconds) override { return 0; }

    void write(const uint8_t *data, size_t length, milliseconds) override {
        const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, queue_.c_str(), "raw data", 0, nullptr);
        if (job == 0) failSpooler("cannot create a job for");
        if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue_.c_str(), job, "data", CUPS_FORMAT_RAW, 1) != HTTP_STATUS_CONTINUE ||
            cupsWriteRequestData(CUPS_HTTP_DEFAULT, reinterpret_cast<const char *>(data), length) != HTTP_STATUS_CONTINUE) {
            cupsFinishDocument(CUPS_HTTP_DEFAULT, queue_.c_str());
            cupsCancelJob2(CUPS_HTTP_DEFAULT, queue_.c_str(), job, 0);
            failSpooler("cannot send the job to");
        }
        if (cupsFinishDocument(CUPS_HTTP_DEFAULT, queue_.c_str()) > IPP_STATUS_OK_CONFLICTING)
            failSpooler("the job was refused by");
    }

private:
    [[noreturn]] void failSpooler(const std::string &what) {
        fail(CommunicationError::SpoolerFailed,
             what + " the installed printer \"" + queue_ + "\": " + cupsLastErrorString());
    }

    std::string queue_;
};

}  // namespace

std::unique_ptr<Port> openSpoolerJobPort(const std::string &queue) {
    if (queue.empty()) fail(CommunicationError::InvalidPortName, "no installed printer is set");
    return std::make_unique<SpoolerJobPort>(queue);
}

std::unique_ptr<Port> openSpoolerDevice(const std::string &queue) {
    const std::string uri = deviceUriOf(queue);
    std::optional<DeviceTarget> target = deviceTargetForUri(uri);
    if (!target)
        fail(CommunicationError::UnsupportedDevice,
             "replies from the installed printer \"" + queue + "\" cannot be read: its device \"" + uri +
                 "\" is not a network socket, serial port or attached USB or parallel printer");
    switch (target->kind) {
    case DeviceTarget::Network: return connectTcp(target->host, target->port);
    case DeviceTarget::Serial: return openSerialPort(target->serial);
    case DeviceTarget::DeviceFile: break;
    }
    return std::make_unique<FdPort>(openDevice(target->path, "printer device " + target->path),
                                    FdTraits{"printer device " + target->path, false, false});
}

}  // namespace communication
