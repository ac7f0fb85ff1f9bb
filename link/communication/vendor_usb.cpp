#include "vendor_usb.h"

#include "communication_environment.h"
#include "failure.h"

#include <libusb.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace communication {
namespace {

using DeviceList = std::vector<libusb_device *>;

[[noreturn]] void failUsb(CommunicationError code, const std::string &what, int error) {
    fail(code, what + ": " + libusb_strerror(libusb_error(error)));
}

class Context {
public:
    Context() {
        // Without a readable USB bus there is no device to open.
        if (int error = libusb_init(&context_)) failUsb(CommunicationError::DeviceNotFound, "no USB device can be reached", error);
    }
    ~Context() { libusb_exit(context_); }
    Context(const Context &) = delete;
    Context &operator=(const Context &) = delete;
    libusb_context *get() const { return context_; }

private:
    libusb_context *context_ = nullptr;
};

// The maker's devices, sorted by bus and port path so numbering is stable while nothing is
// plugged in or out. The list holds a reference to each device until release.
class MatchingDevices {
public:
    explicit MatchingDevices(libusb_context *context) {
        std::optional<uint16_t> vendor = usbVendorId(), product = usbProductId();
        if (!vendor) return;
        ssize_t count = libusb_get_device_list(context, &all_);
        for (ssize_t i = 0; i < count; ++i) {
            libusb_device_descriptor descriptor{};
            if (libusb_get_device_descriptor(all_[i], &descriptor) != 0) continue;
            if (descriptor.idVendor == *vendor && (!product || descriptor.idProduct == *product))
                devices_.push_back(all_[i]);
        }
        std::sort(devices_.begin(), devices_.end(), [](libusb_device *a, libusb_device *b) { return key(a) < key(b); });
    }
    ~MatchingDevices() {
        if (all_) libusb_free_device_list(all_, 1);
    }
    MatchingDevices(const MatchingDevices &) = delete;
    MatchingDevices &operator=(const MatchingDevices &) = delete;
    const DeviceList &devices() const { return devices_; }

private:
    static std::vector<uint8_t> key(libusb_device *device) {
        uint8_t ports[8];
        int depth = libusb_get_port_numbers(device, ports, sizeof ports);
        std::vector<uint8_t> result{libusb_get_bus_number(device)};
        result.insert(result.end(), ports, ports + std::max(depth, 0));
        return result;
    }

    libusb_device **all_ = nullptr;
    DeviceList devices_;
};

struct BulkInterface {
    int number = -1;
    unsigned char in = 0, out = 0;
    int inPacketSize = 64;
};

BulkInterface findBulkInterface(libusb_device *device) {
    libusb_config_descriptor *config = nullptr;
    if (int error = libusb_get_active_config_descriptor(device, &config))
        failUsb(CommunicationError::UsbFailed, "cannot read the USB device's configuration", error);
    BulkInterface found;
    for (int i = 0; i < config->bNumInterfaces && found.number < 0; ++i) {
        for (int a = 0; a < config->interface[i].num_altsetting && found.number < 0; ++a) {
            const libusb_interface_descriptor &setting = config->interface[i].altsetting[a];
            BulkInterface candidate;
            for (int e = 0; e < setting.bNumEndpoints; ++e) {
                const libusb_endpoint_descriptor &endpoint = setting.endpoint[e];
                if ((endpoint.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) != LIBUSB_TRANSFER_TYPE_BULK) continue;
                if (endpoint.bEndpointAddress & LIBUSB_ENDPOINT_IN) {
                    candidate.in = endpoint.bEndpointAddress;
                    candidate.inPacketSize = std::max<int>(endpoint.wMaxPacketSize & 0x7FF, 1);
                } else {
                    candidate.out = endpoint.bEndpointAddress;
                }
            }
            if (candidate.in && candidate.out) {
                candidate.number = setting.bInterfaceNumber;
                found = candidate;
            }
        }
    }
    libusb_free_config_descriptor(config);
    if (found.number < 0) fail(CommunicationError::UnsupportedDevice, "the USB device has no bulk data interface");
    return found;
}

class VendorUsbPort final : public Port {
public:
    explicit VendorUsbPort(int index) {
        MatchingDevices matching(context_.get());
        if (index < 0 || size_t(index) >= matching.devices().size())
            fail(CommunicationError::DeviceNotFound,
                 "USB device number " + std::to_string(index) + " is not attached (" +
                     std::to_string(matching.devices().size()) + " found)");
        libusb_device *device = matching.devices()[size_t(index)];
        if (int error = libusb_open(device, &handle_)) failUsb(CommunicationError::OpenFailed, "cannot open the USB device", error);
        libusb_set_auto_detach_kernel_driver(handle_, 1);
        try {
            interface_ = findBulkInterface(device);
        } catch (...) {
            libusb_close(handle_);
            throw;
        }
        if (int error = libusb_claim_interface(handle_, interface_.number)) {
            libusb_close(handle_);
            failUsb(CommunicationError::OpenFailed, "cannot claim the USB device", error);
        }
    }

    ~VendorUsbPort() override {
        libusb_release_interface(handle_, interface_.number);
        libusb_close(handle_);
    }

    size_t read(uint8_t *buffer, size_t capacity, milliseconds timeout) override {
        if (pending_.empty()) {
            // Ask for whole packets so a long packet cannot overflow the transfer.
            const size_t packet = size_t(interface_.inPacketSize);
            std::vector<uint8_t> chunk((std::max(capacity, size_t(1)) + packet - 1) / packet * packet);
            int got = 0;
            int error = libusb_bulk_transfer(handle_, interface_.in, chunk.data(), int(chunk.size()), &got, usbTimeout(timeout));
            if (error && error != LIBUSB_ERROR_TIMEOUT) failUsb(CommunicationError::ReadFailed, "cannot read from the USB device", error);
            pending_.assign(chunk.begin(), chunk.begin() + got);
        }
        size_t n = std::min(capacity, pending_.size());
        std::memcpy(buffer, pending_.data(), n);
        pending_.erase(pending_.begin(), pending_.begin() + long(n));
        return n;
    }

    void write(const uint8_t *data, size_t length, milliseconds stallTimeout) override {
        constexpr size_t kChunk = 64 * 1024;
        size_t sent = 0;
        while (sent < length) {
            int part = int(std::min(kChunk, length - sent));
            int done = 0;
            int error = libusb_bulk_transfer(handle_, interface_.out, const_cast<uint8_t *>(data + sent), part, &done, usbTimeout(stallTimeout));
            sent += size_t(done);
            if (error == LIBUSB_ERROR_TIMEOUT && done == 0)
                fail(CommunicationError::WriteTimedOut, "the USB device accepted no data for " +
                                                            std::to_string(stallTimeout.count()) + " ms");
            if (error && error != LIBUSB_ERROR_TIMEOUT) failUsb(CommunicationError::WriteFailed, "cannot write to the USB device", error);
        }
    }

private:
    // libusb reads 0 as "wait for ever".
    static unsigned usbTimeout(milliseconds timeout) { return unsigned(std::max<long long>(timeout.count(), 1)); }

    Context context_;
    libusb_device_handle *handle_ = nullptr;
    BulkInterface interface_;
    std::vector<uint8_t> pending_;
};

}  // namespace

int countVendorUsbDevices() {
    if (!usbVendorId()) return 0;
    libusb_context *context = nullptr;
    // A machine without a readable USB bus simply has no such devices.
    if (libusb_init(&context) != 0) return 0;
    int count;
    {
        MatchingDevices matching(context);
        count = int(matching.devices().size());
    }
    libusb_exit(context);
    return count;
}

std::unique_ptr<Port> openVendorUsbDevice(int index) { return std::make_unique<VendorUsbPort>(index); }

}  // namespace communication
