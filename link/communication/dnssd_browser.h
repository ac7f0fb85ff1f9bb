// Network printers that announce a raw print port through DNS-SD.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace communication {

// Addresses (AF_INET or AF_INET6) of the "_pdl-datastream._tcp" services the local DNS-SD
// daemon finds within budget, in the order they resolved. No daemon means none found.
// Throws SearchFailed when the daemon answers but the browse fails.
std::vector<std::string> dnssdPrinterAddresses(int family, std::chrono::milliseconds budget);

}  // namespace communication
