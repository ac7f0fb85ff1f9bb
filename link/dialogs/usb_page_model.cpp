#include "usb_page_model.h"

#include "field_text.h"
#include "link/communication/communication_exception.h"
#include "link/transactions/transactions.h"

namespace printer_link {
namespace {

// The entry to select: the stored device when the command line named it and it is listed.
int preselected(int wanted, bool startedWithParameters) {
    return startedWithParameters && wanted >= 0 ? wanted : 0;
}

}  // namespace

UsbPageModel::UsbPageModel(LinkDialogCopy &copy, LinkDialogOwner &owner, const LinkDevices &devices)
    : copy_(copy), owner_(owner), linkDevices_(devices) {}

std::string UsbPageModel::vendorDeviceName(int number) { return "VQUSB-" + std::to_string(number + 1); }

void UsbPageModel::fill() {
    devices_.clear();
    tagPORTINFO port = copy_.port;
    try {
        const std::string names = linkDevices_.usbClassPrinters();
        std::vector<std::string> classPrinters = SplitAddresses(names.data(), names.size());
        if (!classPrinters.empty()) {
            devices_.fill(std::move(classPrinters));
            const int wanted = devices_.find(fieldString(port.USBClassName));
            devices_.select(preselected(wanted, copy_.startedWithParameters));
            storeFieldString(port.USBClassName, devices_.text);
            port.PortType = kUsbClassPrinter;
            mode_ = Mode::ClassPrinters;
        } else {
            port.PortType = kVendorUsbDevice;
            const int count = linkDevices_.vendorUsbDevices();
            std::vector<std::string> names;
            for (int number = 0; number < count; ++number) names.push_back(vendorDeviceName(number));
            devices_.fill(std::move(names));
            if (count > 0) {
                // The stored number counts from 0 on the command line as in this list.
                const int wanted = devices_.find(vendorDeviceName(port.USBAPIIndex));
                devices_.select(preselected(wanted, copy_.startedWithParameters));
                port.USBAPIIndex = devices_.selected;
                mode_ = Mode::VendorDevices;
            }
        }
        if (mode_ == Mode::NothingFound) port.PortType = kUsbClassPrinter;
        copy_.port = port;
    } catch (const CommunicationException &) {
        devices_.clear();
        owner_.showText(kFailureText);
    }
}

void UsbPageModel::choose(int position) {
    if (!devices_.has(position)) return;
    devices_.select(position);
    if (mode_ == Mode::ClassPrinters) storeFieldString(copy_.port.USBClassName, devices_.text);
    else if (mode_ == Mode::VendorDevices) copy_.port.USBAPIIndex = position;
}

}  // namespace printer_link
