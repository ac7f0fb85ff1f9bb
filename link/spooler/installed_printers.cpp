#include "installed_printers.h"

#include <cups/cups.h>

namespace printer_link {

std::vector<InstalledPrinter> ListInstalledPrinters() {
    cups_dest_t *dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    std::vector<InstalledPrinter> printers;
    for (int i = 0; i < count; ++i) {
        const cups_dest_t &dest = dests[i];
        if (!dest.name || dest.instance) continue;
        const char *model = cupsGetOption("printer-make-and-model", dest.num_options, dest.options);
        printers.push_back({dest.name, model ? model : ""});
    }
    cupsFreeDests(count, dests);
    return printers;
}

bool IsMakerDriver(std::string_view driver) { return driver.starts_with("MXR-"); }

}  // namespace printer_link
