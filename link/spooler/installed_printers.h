// The printers installed on this machine: the print spooler's queues and their drivers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace printer_link {

struct InstalledPrinter {
    std::string name;    // the queue name, as the spooler knows it (UTF-8)
    std::string driver;  // the queue's make-and-model (its PPD's NickName)
};

// The spooler's queues in the order it lists them; instances of a queue are left out. Empty
// when none is installed or the spooler cannot be reached (the reason is the spooler's last
// error). Asks the scheduler that CUPS_SERVER or the client configuration names.
std::vector<InstalledPrinter> ListInstalledPrinters();

// The maker's drivers are named "MXR-..." (case matters).
bool IsMakerDriver(std::string_view driver);

}  // namespace printer_link
