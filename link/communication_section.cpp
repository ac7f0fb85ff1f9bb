#include "communication_section.h"

#include "platform/profile_store.h"

#include <string>

namespace printer_link {
namespace {

constexpr const char *kSection = "Communication";

// What a missing key reads as; the same values go into a new file.
constexpr const char *kDefaultPortType = "1";
constexpr const char *kDefaultComPortName = "COM1";
constexpr const char *kDefaultBaudRate = "9600";
constexpr const char *kDefaultDataSize = "8";
constexpr const char *kDefaultStopBits = "0";
constexpr const char *kDefaultParityBits = "0";
constexpr const char *kDefaultFlowControl = "1";
constexpr const char *kDefaultLptPortName = "LPT1";

// The buffer the stored kind was read into held 256 characters.
constexpr size_t kPortTypeCharacters = 255;

std::string fittedPortType(std::string value, int comType) {
    if (value.size() > kPortTypeCharacters) value.resize(kPortTypeCharacters);
    if (comType == 1) {
        if (value == "5" || value == "6") return "1";
    } else if (value == "1" || value == "2" || value == "3" || value == "4") {
        return "6";
    }
    return value;
}

template <size_t N>
void readName(const platform::ProfileStore &store, const char *key, const char *fallback,
              char16_t (&field)[N]) {
    // Malformed UTF-8 reads as the default; a name too long for the field is cut to fit.
    std::optional<std::u16string> text = utf16FromUtf8(store.read(kSection, key, fallback));
    if (!text) text = utf16FromUtf8(fallback);
    setFieldTextCut(field, *text);
}

int32_t readNumber(const platform::ProfileStore &store, const char *key, const char *fallback) {
    return decimalValue(std::string_view(store.read(kSection, key, fallback)));
}

template <size_t N>
void writeName(platform::ProfileStore &store, const char *key, const char16_t (&field)[N]) {
    std::optional<std::string> text = fieldUtf8(field);
    store.write(kSection, key, text ? *text : std::string());
}

void writeNumber(platform::ProfileStore &store, const char *key, int32_t value) {
    store.write(kSection, key, std::to_string(value));
}

}  // namespace

int normalisedComType(int comType) { return comType == 2 ? 2 : 1; }

bool readCommunicationSection(const platform::ProfileStore &store, int comType, tagPORTINFO &port) {
    comType = normalisedComType(comType);
    const std::string kind = fittedPortType(store.read(kSection, "PortType", kDefaultPortType), comType);
    if (kind.size() != 1 || kind[0] < '1' || kind[0] > '7') return false;
    port.PortType = kind[0] - '0';
    if (port.PortType == kSpoolerSendOnly || port.PortType == kSpoolerPrinter) return true;

    readName(store, "COMPortName", kDefaultComPortName, port.COMPortName);
    port.BaudRate = readNumber(store, "BaudRate", kDefaultBaudRate);
    port.DataSize = readNumber(store, "DataSize", kDefaultDataSize);
    port.StopBits = readNumber(store, "StopBits", kDefaultStopBits);
    port.ParityBits = readNumber(store, "ParityBits", kDefaultParityBits);
    port.FlowControl = readNumber(store, "FlowControl", kDefaultFlowControl);
    readName(store, "LPTPortName", kDefaultLptPortName, port.LPTPortName);
    return true;
}

void writeCommunicationSection(platform::ProfileStore &store, int comType, const tagPORTINFO &port) {
    writeNumber(store, "PortType", port.PortType);
    if (normalisedComType(comType) == 2) return;
    writeName(store, "COMPortName", port.COMPortName);
    writeNumber(store, "BaudRate", port.BaudRate);
    writeNumber(store, "DataSize", port.DataSize);
    writeNumber(store, "StopBits", port.StopBits);
    writeNumber(store, "ParityBits", port.ParityBits);
    writeNumber(store, "FlowControl", port.FlowControl);
    writeName(store, "LPTPortName", port.LPTPortName);
}

void writeDefaultCommunicationSection(platform::ProfileStore &store, int comType) {
    store.write(kSection, "PortType", normalisedComType(comType) == 1 ? "1" : "6");
    store.write(kSection, "COMPortName", kDefaultComPortName);
    store.write(kSection, "BaudRate", kDefaultBaudRate);
    store.write(kSection, "DataSize", kDefaultDataSize);
    store.write(kSection, "StopBits", kDefaultStopBits);
    store.write(kSection, "ParityBits", kDefaultParityBits);
    store.write(kSection, "FlowControl", kDefaultFlowControl);
    store.write(kSection, "LPTPortName", kDefaultLptPortName);
}

}  // namespace printer_link
