// The network printer controls that the network page and the installed-printer page share:
// an IPv4 and an IPv6 choice, each with an address list that the network search fills, and
// the TCP port field.
#pragma once

#include <string>
#include <string_view>

#include "link_dialog_context.h"
#include "list_control.h"

namespace printer_link {

class NetworkAddressModel {
public:
    static constexpr int kDefaultPort = 9100;
    static constexpr int kLowestPort = 1024;
    static constexpr int kHighestPort = 65535;

    NetworkAddressModel(LinkDialogCopy &copy, LinkDialogOwner &owner);

    // Shows the copy's address in the list of its IP version, which alone is enabled, and its
    // TCP port. Without an IP version neither choice is selected, both lists are disabled and
    // the port field shows "9100".
    void setUp();

    // Whether the choices, the port field and the lists take input at all (the network page
    // always; the installed-printer page only while its network check box is ticked).
    void setActive(bool active) { active_ = active; }
    bool active() const { return active_; }

    // Clicking the IPv4 (kIpv4) or IPv6 (kIpv6) choice: enables its list alone, empties it and
    // fills it from a network search; shows message 602 when the search found nothing.
    void choose(int ipVersion);
    void chooseAddress(int ipVersion, int position);
    void typeAddress(int ipVersion, const std::string &text);

    // The port field holds digits only and never a number above 65535; true when text may
    // stand in it.
    static bool acceptsPortText(std::string_view text);
    // Typing key at position of the port field; false when the key is discarded.
    bool typePortCharacter(size_t position, char key);
    // An edit of the port field; refused (false, field unchanged) when acceptsPortText refuses.
    bool setPortText(const std::string &text);
    // A port field outside 1024 to 65535 goes back to "9100".
    void resetPortIfOutOfRange();

    // Called by OK: the chosen address and its IP version, and the TCP port (9100 when the
    // field is outside 1024 to 65535, which then shows "9100" again), go into the copy.
    // Without a choice the copy keeps its address and IP version.
    void collect();

    int choice() const { return choice_; }
    bool listEnabled(int ipVersion) const { return active_ && choice_ == ipVersion; }
    const ListControl &list(int ipVersion) const { return ipVersion == kIpv6 ? ipv6_ : ipv4_; }
    const std::string &portText() const { return portText_; }

    static constexpr int kNothingFoundMessage = 602;

private:
    ListControl &listOf(int ipVersion) { return ipVersion == kIpv6 ? ipv6_ : ipv4_; }
    static bool isIpVersion(int ipVersion) { return ipVersion == kIpv4 || ipVersion == kIpv6; }

    LinkDialogCopy &copy_;
    LinkDialogOwner &owner_;
    ListControl ipv4_, ipv6_;
    int choice_ = kNoIpVersion;
    std::string portText_;
    bool active_ = true;
};

}  // namespace printer_link
