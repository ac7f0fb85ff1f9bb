#include "installed_page_model.h"

#include "field_text.h"

namespace printer_link {
namespace {

// The printer the command line named: the entry of that name, else the first that begins
// with it (the list's own search), else the first entry.
int namedPrinter(const ListControl &printers, const std::string &name) {
    int position = printers.find(name);
    if (position < 0 && !name.empty()) position = printers.findPrefix(name);
    return position < 0 ? 0 : position;
}

}  // namespace

InstalledPageModel::InstalledPageModel(LinkDialogCopy &copy, LinkDialogOwner &owner, const LinkDevices &devices)
    : copy_(copy), devices_(devices), address_(copy, owner) {}

void InstalledPageModel::fill() {
    tagPORTINFO &port = copy_.port;
    const bool wasNetworkPrinter = port.PortType == kNetworkPrinter;
    networkPrinter_ = wasNetworkPrinter;

    std::vector<std::string> names;
    for (const InstalledPrinter &printer : devices_.installedPrinters())
        if (IsMakerDriver(printer.driver)) names.push_back(printer.name);
    printers_.fill(std::move(names));
    if (!printers_.entries.empty()) {
        port.PortType = kSpoolerPrinter;
        printers_.select(copy_.startedWithParameters ? namedPrinter(printers_, fieldString(port.DriverPrinterName)) : 0);
        storeFieldString(port.DriverPrinterName, printers_.text);
    }
    if (wasNetworkPrinter) {
        port.PortType = kNetworkPrinter;
        address_.setUp();
    }
    address_.setActive(networkPrinter_);
}

void InstalledPageModel::choosePrinter(int position) {
    if (!printers_.has(position)) return;
    printers_.select(position);
    copy_.port.PortType = kSpoolerPrinter;
    storeFieldString(copy_.port.DriverPrinterName, printers_.text);
}

void InstalledPageModel::setNetworkPrinter(bool ticked) {
    networkPrinter_ = ticked;
    address_.setActive(ticked);
    if (ticked) {
        copy_.port.PortType = kNetworkPrinter;
        address_.resetPortIfOutOfRange();
    } else {
        copy_.port.PortType = kSpoolerPrinter;
    }
}

void InstalledPageModel::collect() {
    address_.collect();
    setFieldText(copy_.port.DriverPrinterName, u"");
}

}  // namespace printer_link
