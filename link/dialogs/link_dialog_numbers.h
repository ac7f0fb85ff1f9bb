// The numbers of the link settings dialog, its pages and the network search dialog, and of
// their controls. The language files key the texts of these dialogs by them.
#pragma once

namespace printer_link::dialog_numbers {

namespace search_dialog {
inline constexpr int kDialog = 352;
inline constexpr int kLabel = 1058, kProgress = 1059;
}
namespace link_dialog {           // the link settings dialog
inline constexpr int kDialog = 347;
inline constexpr int kLanguageLabel = 1094, kLanguageList = 1093;
inline constexpr int kMemoryLabel = 1054, kMemoryList = 1053;
inline constexpr int kFamilyLabel = 1068, kFamilyList = 1004;
inline constexpr int kPageFrame = 1005;
}
namespace serial_page {
inline constexpr int kDialog = 129;
inline constexpr int kNameLabel = 1012, kSpeedLabel = 1013, kDataBitsLabel = 1014, kStopBitsLabel = 1015,
                     kParityLabel = 1016, kFlowLabel = 1017;
inline constexpr int kName = 1006, kSpeed = 1007, kDataBits = 1008, kStopBits = 1009, kParity = 1010,
                     kFlow = 1011;
}
namespace parallel_page {         // takes no texts from the language file
inline constexpr int kDialog = 134;
inline constexpr int kName = 1008;
}
namespace usb_page {              // takes no texts from the language file
inline constexpr int kDialog = 344;
inline constexpr int kDevices = 1007;
}
namespace network_page {
inline constexpr int kDialog = 348;
inline constexpr int kIpv4 = 1168, kIpv6 = 1169, kIpv4List = 1010, kIpv6List = 1011;
inline constexpr int kPortLabel = 1012, kPort = 1013;
}
namespace installed_page {
inline constexpr int kDialog = 163;
inline constexpr int kPrinterLabel = 1009, kPrinters = 1010, kNetworkPrinter = 1080;
inline constexpr int kIpv4 = 1629, kIpv6 = 1630, kIpv4List = 1627, kIpv6List = 1628;
inline constexpr int kPortLabel = 1022, kPort = 1023;
}

}  // namespace printer_link::dialog_numbers
