#include "device_uri.h"

#include "usb_class_devices.h"

#include <charconv>
#include <map>

namespace communication {
namespace {

std::string percentDecoded(std::string_view text) {
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned value = 0;
        if (text[i] == '%' && i + 2 < text.size()) {
            auto [end, error] = std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
            if (error == std::errc() && end == text.data() + i + 3) {
                result += char(value);
                i += 2;
                continue;
            }
        }
        result += text[i];
    }
    return result;
}

// "a=1+b=2" or "a=1&b=2".
std::map<std::string, std::string> options(std::string_view query) {
    std::map<std::string, std::string> result;
    size_t start = 0;
    while (start < query.size()) {
        size_t end = query.find_first_of("+&", start);
        if (end == std::string_view::npos) end = query.size();
        std::string_view item = query.substr(start, end - start);
        size_t equals = item.find('=');
        if (equals != std::string_view::npos)
            result[std::string(item.substr(0, equals))] = percentDecoded(item.substr(equals + 1));
        start = end + 1;
    }
    return result;
}

int numberOr(const std::map<std::string, std::string> &values, const char *key, int fallback) {
    auto found = values.find(key);
    if (found == values.end()) return fallback;
    int value = fallback;
    std::from_chars(found->second.data(), found->second.data() + found->second.size(), value);
    return value;
}

std::optional<DeviceTarget> socketTarget(std::string_view rest) {
    rest = rest.substr(0, rest.find_first_of("/?"));
    DeviceTarget target;
    std::string_view host = rest, port;
    if (!rest.empty() && rest.front() == '[') {
        size_t close = rest.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        host = rest.substr(1, close - 1);
        if (close + 1 < rest.size() && rest[close + 1] == ':') port = rest.substr(close + 2);
    } else if (size_t colon = rest.rfind(':'); colon != std::string_view::npos) {
        host = rest.substr(0, colon);
        port = rest.substr(colon + 1);
    }
    if (host.empty()) return std::nullopt;
    target.host = percentDecoded(host);
    if (!port.empty()) {
        auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), target.port);
        if (error != std::errc() || end != port.data() + port.size()) return std::nullopt;
    }
    return target;
}

std::optional<DeviceTarget> serialTarget(std::string_view rest) {
    size_t question = rest.find('?');
    DeviceTarget target;
    target.kind = DeviceTarget::Serial;
    target.serial.device = percentDecoded(rest.substr(0, question));
    if (target.serial.device.empty() || target.serial.device.front() != '/') return std::nullopt;
    auto values = options(question == std::string_view::npos ? std::string_view() : rest.substr(question + 1));
    target.serial.baudRate = numberOr(values, "baud", 9600);
    target.serial.dataBits = numberOr(values, "bits", 8);
    target.serial.stopBits = numberOr(values, "stop", 1) == 2 ? 2 : 0;
    static const std::map<std::string, int> parities{{"none", 0}, {"odd", 1}, {"even", 2}, {"mark", 3}, {"space", 4}};
    static const std::map<std::string, int> flows{{"dtrdsr", 0}, {"hard", 1}, {"rtscts", 1}, {"soft", 2}, {"xonxoff", 2}, {"none", 3}};
    if (auto parity = values.find("parity"); parity != values.end()) {
        auto known = parities.find(parity->second);
        if (known == parities.end()) return std::nullopt;
        target.serial.parity = known->second;
    }
    target.serial.flowControl = 3;
    if (auto flow = values.find("flow"); flow != values.end()) {
        auto known = flows.find(flow->second);
        if (known == flows.end()) return std::nullopt;
        target.serial.flowControl = known->second;
    }
    return target;
}

std::optional<DeviceTarget> deviceFileTarget(std::string_view path) {
    DeviceTarget target;
    target.kind = DeviceTarget::DeviceFile;
    target.path = percentDecoded(path.substr(0, path.find('?')));
    if (target.path.empty() || target.path.front() != '/') return std::nullopt;
    return target;
}

std::optional<DeviceTarget> usbTarget(std::string_view rest) {
    // usb://Make/Model?serial=S
    size_t question = rest.find('?');
    std::string_view names = rest.substr(0, question);
    size_t slash = names.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    auto values = options(question == std::string_view::npos ? std::string_view() : rest.substr(question + 1));
    std::optional<std::string> path = usbClassDeviceFor(percentDecoded(names.substr(0, slash)),
                                                        percentDecoded(names.substr(slash + 1)),
                                                        values.count("serial") ? values["serial"] : "");
    if (!path) return std::nullopt;
    return deviceFileTarget(*path);
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

std::optional<DeviceTarget> deviceTargetForUri(const std::string &uriText) {
    std::string_view uri = uriText;
    if (startsWith(uri, "socket://")) return socketTarget(uri.substr(9));
    if (startsWith(uri, "serial:")) return serialTarget(uri.substr(7));
    if (startsWith(uri, "parallel:")) return deviceFileTarget(uri.substr(9));
    if (startsWith(uri, "usb://")) return usbTarget(uri.substr(6));
    if (startsWith(uri, "usb:/")) return deviceFileTarget(uri.substr(4));
    return std::nullopt;
}

}  // namespace communication
