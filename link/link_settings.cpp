#include "link_settings.h"

#include "communication_section.h"
#include "port_part_parser.h"

namespace printer_link {

LinkSettings &LinkSettings::current() {
    static LinkSettings settings;
    return settings;
}

tagPORTINFO LinkSettings::port() const {
    std::lock_guard<std::mutex> lock(portMutex_);
    return port_;
}

void LinkSettings::setPort(const tagPORTINFO &port) {
    std::lock_guard<std::mutex> lock(portMutex_);
    port_ = port;
}

void LinkSettings::setComType(int comType) { comType_.store(normalisedComType(comType)); }

bool LinkSettings::readFrom(const platform::ProfileStore &store) {
    std::lock_guard<std::mutex> lock(portMutex_);
    tagPORTINFO working = port_;
    if (!readCommunicationSection(store, comType(), working)) return false;
    port_ = working;
    return true;
}

bool LinkSettings::writeTo(platform::ProfileStore &store, const tagPORTINFO &port) const {
    writeCommunicationSection(store, comType(), port);
    return true;
}

bool LinkSettings::takeCommandLine(std::u16string_view portPart) {
    std::lock_guard<std::mutex> lock(portMutex_);
    std::optional<ParsedPortPart> parsed = parsePortPart(portPart, port_);
    if (!parsed) return false;
    port_ = parsed->port;
    if (parsed->netIPVersion) netIPVersion_.store(*parsed->netIPVersion);
    startedWithParameters_.store(true);
    return true;
}

void LinkSettings::reset() {
    std::lock_guard<std::mutex> lock(portMutex_);
    port_ = tagPORTINFO{};
    comType_.store(1);
    netIPVersion_.store(-1);
    startedWithParameters_.store(false);
}

}  // namespace printer_link
