// The rules of the link settings dialog: the command language, the printer memory and the
// port, edited on one page per port family in the dialog's own copy of the link state. The
// owner takes the copy over only when OK succeeds; Cancel leaves everything as it was.
#pragma once

#include <string>
#include <vector>

#include "installed_page_model.h"
#include "link_dialog_context.h"
#include "list_control.h"
#include "network_page_model.h"
#include "parallel_page_model.h"
#include "serial_page_model.h"
#include "usb_page_model.h"

namespace printer_link {

// What the dialog starts from: the current link state and printer choice.
struct LinkDialogInputs {
    tagPORTINFO port{};
    std::string language;  // current command language
    std::string memory;    // current memory type, "RAM" or "FLASH"
    int comType = 1;       // connection family: 1 direct ports and network, 2 installed printers and network
    bool startedWithParameters = false;
    int netIPVersion = kNoIpVersion;
};

// What OK hands back. Only an accepted result carries a choice to take over.
struct LinkDialogResult {
    bool accepted = false;
    tagPORTINFO port{};
    std::string language, memory;
    int netIPVersion = kNoIpVersion;
};

enum class LinkPage { None = -1, Serial = 0, Parallel = 1, Usb = 2, Network = 3, InstalledPrinters = 4 };

class LinkSettingsModel {
public:
    static constexpr int kPortTestFailedMessage = 707;
    static constexpr int kStoreFailedMessage = 201;
    static constexpr int kBindFailedMessage = 400;

    LinkSettingsModel(const LinkDialogInputs &inputs, LinkDialogOwner &owner,
                      LinkDevices devices = LinkDevices::library());
    LinkSettingsModel(const LinkSettingsModel &) = delete;
    LinkSettingsModel &operator=(const LinkSettingsModel &) = delete;

    // The list entries the language file gives; empty keeps the built-in ones.
    void setLanguageNames(std::vector<std::string> names);
    void setFamilyNames(std::vector<std::string> names);

    // Selects the current command language and memory type and shows the first page.
    void open();

    int family() const { return family_; }
    bool familyListShown() const { return family_ != 2; }

    void chooseLanguage(int position);
    void chooseMemory(int position);
    // A position of the port-family list: serial, parallel, USB, network.
    void chooseFamily(int position);
    void showPage(LinkPage page);
    LinkPage visiblePage() const { return visible_; }

    // OK: collects a network address, tests the port (message 707 and false when it cannot be
    // opened), makes the printer choice current (message 201 when it cannot be stored) and
    // binds its module (message 400 when it cannot). True: the dialog closes with OK.
    bool ok();
    const LinkDialogResult &result() const { return result_; }

    const ListControl &languages() const { return languages_; }
    const ListControl &memories() const { return memories_; }
    const ListControl &families() const { return families_; }
    const std::string &language() const { return language_; }
    const std::string &memory() const { return memory_; }
    const LinkDialogCopy &copy() const { return copy_; }

    SerialPageModel &serial() { return serial_; }
    ParallelPageModel &parallel() { return parallel_; }
    UsbPageModel &usb() { return usb_; }
    NetworkPageModel &network() { return network_; }
    InstalledPageModel &installed() { return installed_; }

    // The memory types a printer of language has, in list order.
    static std::vector<std::string> memoryTypesOf(const std::string &language);

private:
    void fillMemories();
    LinkPage firstPage() const;

    LinkDialogOwner &owner_;
    LinkDevices devices_;
    LinkDialogCopy copy_;
    int family_;
    std::string language_, memory_;
    ListControl languages_, memories_, families_;
    LinkPage visible_ = LinkPage::None;
    SerialPageModel serial_;
    ParallelPageModel parallel_;
    UsbPageModel usb_;
    NetworkPageModel network_;
    InstalledPageModel installed_;
    LinkDialogResult result_;
};

}  // namespace printer_link
