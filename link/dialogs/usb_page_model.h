// The USB page: a printer-class device, or else a device of the maker's USB interface.
#pragma once

#include "link_dialog_context.h"
#include "list_control.h"

namespace printer_link {

class UsbPageModel {
public:
    enum class Mode { ClassPrinters = 0, VendorDevices = 1, NothingFound = 2 };

    UsbPageModel(LinkDialogCopy &copy, LinkDialogOwner &owner, const LinkDevices &devices);

    // Lists the attached devices and makes the copy point at the selected one. A failure of
    // the library shows a fixed text and leaves the copy as it was.
    void fill();

    // Stores the chosen device: its name (printer-class devices) or its position, counting
    // from 0 (the maker's devices).
    void choose(int position);

    const ListControl &devices() const { return devices_; }
    Mode mode() const { return mode_; }

    // Shown when the library fails while listing devices.
    static constexpr const char *kFailureText = "异常啦";

    // The name the list shows for device number (counting from 0) of the maker's interface.
    static std::string vendorDeviceName(int number);

private:
    LinkDialogCopy &copy_;
    LinkDialogOwner &owner_;
    const LinkDevices &linkDevices_;
    ListControl devices_;
    Mode mode_ = Mode::NothingFound;
};

}  // namespace printer_link
