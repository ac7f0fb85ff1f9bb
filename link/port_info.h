// The port description: which port a printer hangs on and how to reach it. Its byte layout is
// shared with the communication library and is fixed; see the offsets checked below.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace printer_link {

// Port kind codes held in tagPORTINFO::PortType.
enum PortKind : int32_t {
    kSerialPort = 1,
    kParallelPort = 2,
    kUsbClassPrinter = 3,   // USB printer-class device, named as the library enumerates it
    kVendorUsbDevice = 4,   // device of the maker's USB interface, numbered from 0
    kSpoolerSendOnly = 5,   // installed printer, raw jobs only
    kSpoolerPrinter = 6,    // installed printer; replies come from the device behind the queue
    kNetworkPrinter = 7,    // TCP/IP
};

// Serial line codes.
enum StopBitsCode : int32_t { kOneStopBit = 0, kOneAndHalfStopBits = 1, kTwoStopBits = 2 };
enum ParityCode : int32_t { kNoParity = 0, kOddParity = 1, kEvenParity = 2, kMarkParity = 3, kSpaceParity = 4 };
enum FlowControlCode : int32_t { kDtrDsrFlow = 0, kRtsCtsFlow = 1, kXonXoffFlow = 2, kNoFlow = 3 };

// Little-endian, no padding, UTF-16 strings NUL-terminated inside their fields. Always start
// from a zero-filled record (tagPORTINFO port{};) so unused bytes are zero.
struct tagPORTINFO {
    int32_t PortType;
    char16_t COMPortName[20];
    int32_t BaudRate;
    int32_t DataSize;     // 7 or 8
    int32_t StopBits;     // StopBitsCode
    int32_t ParityBits;   // ParityCode
    int32_t FlowControl;  // FlowControlCode
    char16_t LPTPortName[20];
    char16_t USBClassName[260];
    int32_t USBAPIIndex;  // counts from 0
    char16_t DriverPrinterName[260];
    char16_t NetAddress[260];
    int32_t NetPort;
};

static_assert(std::endian::native == std::endian::little, "the record is little-endian");
static_assert(std::is_standard_layout_v<tagPORTINFO> && std::is_trivially_copyable_v<tagPORTINFO>);
static_assert(offsetof(tagPORTINFO, PortType) == 0);
static_assert(offsetof(tagPORTINFO, COMPortName) == 4);
static_assert(offsetof(tagPORTINFO, BaudRate) == 44);
static_assert(offsetof(tagPORTINFO, DataSize) == 48);
static_assert(offsetof(tagPORTINFO, StopBits) == 52);
static_assert(offsetof(tagPORTINFO, ParityBits) == 56);
static_assert(offsetof(tagPORTINFO, FlowControl) == 60);
static_assert(offsetof(tagPORTINFO, LPTPortName) == 64);
static_assert(offsetof(tagPORTINFO, USBClassName) == 104);
static_assert(offsetof(tagPORTINFO, USBAPIIndex) == 624);
static_assert(offsetof(tagPORTINFO, DriverPrinterName) == 628);
static_assert(offsetof(tagPORTINFO, NetAddress) == 1148);
static_assert(offsetof(tagPORTINFO, NetPort) == 1668);
static_assert(sizeof(tagPORTINFO) == 1672);

// The text of a string field: up to its NUL, or the whole field when it holds none.
template <size_t N>
std::u16string_view fieldText(const char16_t (&field)[N]) {
    size_t length = 0;
    while (length < N && field[length] != u'\0') ++length;
    return {field, length};
}

// Stores text in a field and zeroes the rest. Refuses (false, field unchanged) a text that
// does not fit beside the NUL or that holds a NUL itself.
template <size_t N>
bool setFieldText(char16_t (&field)[N], std::u16string_view text) {
    if (text.size() > N - 1 || text.find(u'\0') != std::u16string_view::npos) return false;
    for (size_t i = 0; i < N; ++i) field[i] = i < text.size() ? text[i] : u'\0';
    return true;
}

// The longest start of text that fits into a field of N units beside the NUL, never ending
// in the first half of a surrogate pair, and ending at an embedded NUL.
std::u16string_view fittingPrefix(std::u16string_view text, size_t units);

// Stores as much of text as fits (see fittingPrefix) and zeroes the rest.
template <size_t N>
void setFieldTextCut(char16_t (&field)[N], std::u16string_view text) {
    setFieldText(field, fittingPrefix(text, N - 1));
}

// UTF-8 and UTF-16 conversions for fields; nothing when the input is not well-formed.
std::optional<std::u16string> utf16FromUtf8(std::string_view text);
std::optional<std::string> utf8FromUtf16(std::u16string_view text);

template <size_t N>
std::optional<std::string> fieldUtf8(const char16_t (&field)[N]) {
    return utf8FromUtf16(fieldText(field));
}

// A decimal number read the way the C library's atoi reads it: leading white space, a sign,
// digits up to the first other character; no digits give 0. Saturates at the 32-bit range.
int32_t decimalValue(std::u16string_view text);
int32_t decimalValue(std::string_view text);

}  // namespace printer_link
