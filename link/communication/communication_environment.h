// Settings of the library that come from the environment, so tests and unusual installations
// can point the library at other device trees, networks and USB ids. Read at every use.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace communication {

// KDX_DEV_ROOT: where device nodes live ("/dev"). COMn, LPTn and USB printer-class names are
// looked up below it; explicit device paths are used as they are.
std::filesystem::path deviceRoot();

// KDX_SYS_ROOT: where the kernel's device tree is mounted ("/sys").
std::filesystem::path sysfsRoot();

// KDX_SEARCH_NETWORKS: networks the network search may probe, e.g. "192.168.1.0/24,::1/128".
// Empty (the default) means no probing at all.
std::string searchNetworks();

// KDX_SEARCH_PORT: the TCP port probed by the network search (9100).
uint16_t searchPort();

// KDX_SEARCH_TIMEOUT_MS: how long a probe waits for a connection (300).
std::chrono::milliseconds probeTimeout();

// KDX_DNSSD: "0" or "off" keeps the network search from asking DNS-SD (on by default).
bool dnssdEnabled();

// KDX_DNSSD_TIMEOUT_MS: how long the DNS-SD browse may take (1500).
std::chrono::milliseconds dnssdTimeout();

// KDX_USB_VENDOR_ID and KDX_USB_PRODUCT_ID: the maker's USB ids in hexadecimal ("1a2b" or
// "0x1a2b"). Without a vendor id no device counts as the maker's.
std::optional<uint16_t> usbVendorId();
std::optional<uint16_t> usbProductId();

}  // namespace communication
