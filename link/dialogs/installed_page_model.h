// The installed-printer page of connection family 2: one of the maker's installed printers,
// or, with the check box ticked, a network printer.
#pragma once

#include <string>

#include "network_address_model.h"

namespace printer_link {

class InstalledPageModel {
public:
    InstalledPageModel(LinkDialogCopy &copy, LinkDialogOwner &owner, const LinkDevices &devices);

    // Lists the installed printers on the maker's drivers and selects one; a network printer
    // in the copy stays one and ticks the check box.
    void fill();

    // Choosing a printer makes the copy that installed printer.
    void choosePrinter(int position);

    // Ticked: a network printer (the port field outside 1024 to 65535 shows "9100" again);
    // cleared: the selected installed printer.
    void setNetworkPrinter(bool ticked);

    // Called by OK while the copy is a network printer: its address goes into the copy and
    // the installed printer's name is cleared.
    void collect();

    const ListControl &printers() const { return printers_; }
    bool printersEnabled() const { return !networkPrinter_; }
    bool networkPrinter() const { return networkPrinter_; }
    NetworkAddressModel &address() { return address_; }
    const NetworkAddressModel &address() const { return address_; }

private:
    LinkDialogCopy &copy_;
    const LinkDevices &devices_;
    ListControl printers_;
    bool networkPrinter_ = false;
    NetworkAddressModel address_;
};

}  // namespace printer_link
