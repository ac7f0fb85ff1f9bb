// What the link settings dialog and its pages share: the dialog's copy of the link state, the
// window around the rules, and the devices they list and test.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "link/port_info.h"
#include "link/spooler/installed_printers.h"

namespace printer_link {

// IP versions as the network search and the process-wide link state number them.
inline constexpr int kIpv4 = 2;
inline constexpr int kIpv6 = 3;
inline constexpr int kNoIpVersion = -1;

// The dialog's working copy. The pages edit it; the owner takes it over only after OK.
struct LinkDialogCopy {
    tagPORTINFO port{};
    int netIPVersion = kNoIpVersion;  // the IP version of the chosen network address
    bool startedWithParameters = false;
};

struct NetworkSearchOutcome {
    bool found = false;                  // the search reported at least one address
    std::vector<std::string> addresses;  // in the order found
};

// The window around the rules: it shows messages, runs the network search with its progress,
// and makes a confirmed printer choice current.
class LinkDialogOwner {
public:
    virtual ~LinkDialogOwner() = default;

    virtual void showMessage(int number) = 0;
    virtual void showText(const std::string &text) = 0;

    // Searches for network printers of ipVersion (kIpv4 or kIpv6); returns when the search is over.
    virtual NetworkSearchOutcome searchNetwork(const tagPORTINFO &port, int ipVersion) = 0;

    // Makes the command language and memory type current and stores them; false when they
    // could not be stored.
    virtual bool storePrinterChoice(const std::string &language, const std::string &memory) = 0;

    // Binds the language module of language; false when it cannot be bound.
    virtual bool bindModule(const std::string &language) = 0;
};

// The devices the pages list and the port test. Each may throw CommunicationException.
struct LinkDevices {
    std::function<bool(const tagPORTINFO &)> testPort;
    std::function<std::string()> usbClassPrinters;  // names, each ended by "@"
    std::function<int()> vendorUsbDevices;          // devices on the maker's USB interface
    std::function<std::vector<InstalledPrinter>()> installedPrinters;

    // The communication library and the print spooler.
    static LinkDevices library();
};

}  // namespace printer_link
