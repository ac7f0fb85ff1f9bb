// The network page: a network printer's address and TCP port.
#pragma once

#include "network_address_model.h"

namespace printer_link {

class NetworkPageModel {
public:
    NetworkPageModel(LinkDialogCopy &copy, LinkDialogOwner &owner);

    // Makes the copy a network printer and shows its address.
    void fill();
    // Called by OK.
    void collect() { address_.collect(); }

    NetworkAddressModel &address() { return address_; }
    const NetworkAddressModel &address() const { return address_; }

private:
    LinkDialogCopy &copy_;
    NetworkAddressModel address_;
};

}  // namespace printer_link
