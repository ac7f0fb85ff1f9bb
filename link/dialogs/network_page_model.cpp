#include "network_page_model.h"

namespace printer_link {

NetworkPageModel::NetworkPageModel(LinkDialogCopy &copy, LinkDialogOwner &owner) : copy_(copy), address_(copy, owner) {}

void NetworkPageModel::fill() {
    copy_.port.PortType = kNetworkPrinter;
    address_.setUp();
}

}  // namespace printer_link
