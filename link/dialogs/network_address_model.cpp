#include "network_address_model.h"

#include <algorithm>

#include "field_text.h"

namespace printer_link {
namespace {

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The field's number; saturates just above the highest port.
int portNumber(std::string_view digits) {
    int value = 0;
    for (char c : digits) value = std::min(value * 10 + (c - '0'), NetworkAddressModel::kHighestPort + 1);
    return value;
}

bool inPortRange(std::string_view text) {
    const int value = portNumber(text);
    return !text.empty() && value >= NetworkAddressModel::kLowestPort && value <= NetworkAddressModel::kHighestPort;
}

}  // namespace

NetworkAddressModel::NetworkAddressModel(LinkDialogCopy &copy, LinkDialogOwner &owner) : copy_(copy), owner_(owner) {}

void NetworkAddressModel::setUp() {
    ipv4_.clear();
    ipv6_.clear();
    choice_ = isIpVersion(copy_.netIPVersion) ? copy_.netIPVersion : kNoIpVersion;
    if (choice_ != kNoIpVersion) {
        listOf(choice_).text = fieldString(copy_.port.NetAddress);
        portText_ = std::to_string(copy_.port.NetPort);
    } else {
        portText_ = std::to_string(kDefaultPort);
    }
}

void NetworkAddressModel::choose(int ipVersion) {
    if (!isIpVersion(ipVersion)) return;
    choice_ = ipVersion;
    ListControl &list = listOf(ipVersion);
    list.clear();
    // The search gets the version it is asked for; the copy's IP version changes only at OK.
    NetworkSearchOutcome outcome = owner_.searchNetwork(copy_.port, ipVersion);
    list.fill(std::move(outcome.addresses), 0);
    if (!outcome.found) owner_.showMessage(kNothingFoundMessage);
}

void NetworkAddressModel::chooseAddress(int ipVersion, int position) {
    ListControl &list = listOf(ipVersion);
    if (list.has(position)) list.select(position);
}

void NetworkAddressModel::typeAddress(int ipVersion, const std::string &text) {
    ListControl &list = listOf(ipVersion);
    list.text = text;
    list.selected = list.find(text);
}

bool NetworkAddressModel::acceptsPortText(std::string_view text) {
    return allDigits(text) && portNumber(text) <= kHighestPort;
}

bool NetworkAddressModel::typePortCharacter(size_t position, char key) {
    std::string candidate = portText_;
    candidate.insert(std::min(position, candidate.size()), 1, key);
    return setPortText(candidate);
}

bool NetworkAddressModel::setPortText(const std::string &text) {
    if (!acceptsPortText(text)) return false;
    portText_ = text;
    return true;
}

void NetworkAddressModel::resetPortIfOutOfRange() {
    if (!inPortRange(portText_)) portText_ = std::to_string(kDefaultPort);
}

void NetworkAddressModel::collect() {
    if (isIpVersion(choice_)) {
        copy_.netIPVersion = choice_;
        storeFieldString(copy_.port.NetAddress, listOf(choice_).text);
    }
    resetPortIfOutOfRange();
    copy_.port.NetPort = portNumber(portText_);
}

}  // namespace printer_link
