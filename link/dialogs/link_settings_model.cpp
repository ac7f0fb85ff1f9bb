#include "link_settings_model.h"

#include "link/communication/communication_exception.h"

namespace printer_link {

LinkSettingsModel::LinkSettingsModel(const LinkDialogInputs &inputs, LinkDialogOwner &owner, LinkDevices devices)
    : owner_(owner),
      devices_(std::move(devices)),
      copy_{inputs.port, inputs.netIPVersion, inputs.startedWithParameters},
      family_(inputs.comType == 2 ? 2 : 1),
      language_(inputs.language),
      memory_(inputs.memory),
      serial_(copy_),
      parallel_(copy_),
      usb_(copy_, owner, devices_),
      network_(copy_, owner),
      installed_(copy_, owner, devices_) {
    languages_.fill({"KDXZ", "KDXT", "KDXA", "KDXC", "KDXE"});
    families_.fill({"COM", "LPT", "USB", "NET"});
}

void LinkSettingsModel::setLanguageNames(std::vector<std::string> names) {
    if (!names.empty()) languages_.fill(std::move(names));
}

void LinkSettingsModel::setFamilyNames(std::vector<std::string> names) {
    if (!names.empty()) families_.fill(std::move(names));
}

std::vector<std::string> LinkSettingsModel::memoryTypesOf(const std::string &language) {
    if (language == "KDXA" || language == "KDXZ" || language == "KDXT") return {"FLASH", "RAM"};
    return {"FLASH"};
}

void LinkSettingsModel::open() {
    // The list's own search finds the first entry that begins with the name; only an entry
    // that is the name exactly counts.
    const int found = languages_.findPrefix(language_);
    if (found >= 0 && languages_.entries[static_cast<size_t>(found)] == language_) {
        languages_.select(found);
    } else {
        languages_.select(0);
        language_ = languages_.text;
    }
    fillMemories();
    showPage(firstPage());
}

void LinkSettingsModel::fillMemories() {
    memories_.fill(memoryTypesOf(language_));
    const int current = memories_.find(memory_);
    memories_.select(current >= 0 ? current : 0);
    memory_ = memories_.text;
}

LinkPage LinkSettingsModel::firstPage() const {
    if (family_ == 2) return LinkPage::InstalledPrinters;
    switch (copy_.port.PortType) {
    case kParallelPort: return LinkPage::Parallel;
    case kUsbClassPrinter:
    case kVendorUsbDevice: return LinkPage::Usb;
    case kNetworkPrinter: return LinkPage::Network;
    default: return LinkPage::Serial;
    }
}

void LinkSettingsModel::chooseLanguage(int position) {
    if (!languages_.has(position)) return;
    languages_.select(position);
    language_ = languages_.text;
    fillMemories();
    memories_.select(0);
    memory_ = memories_.text;
}

void LinkSettingsModel::chooseMemory(int position) {
    if (!memories_.has(position)) return;
    memories_.select(position);
    memory_ = memories_.text;
}

void LinkSettingsModel::chooseFamily(int position) {
    if (family_ == 1 && position >= 0 && position <= static_cast<int>(LinkPage::Network))
        showPage(static_cast<LinkPage>(position));
}

void LinkSettingsModel::showPage(LinkPage page) {
    if (family_ == 2) {
        if (page != LinkPage::InstalledPrinters) return;
    } else {
        if (page == LinkPage::InstalledPrinters || page == LinkPage::None || page == visible_) return;
        families_.select(static_cast<int>(page));
    }
    visible_ = page;
    switch (page) {
    case LinkPage::Serial: serial_.fill(); break;
    case LinkPage::Parallel: parallel_.fill(); break;
    case LinkPage::Usb: usb_.fill(); break;
    case LinkPage::Network: network_.fill(); break;
    case LinkPage::InstalledPrinters: installed_.fill(); break;
    case LinkPage::None: break;
    }
}

bool LinkSettingsModel::ok() {
    if (copy_.port.PortType == kNetworkPrinter) {
        if (family_ == 2) installed_.collect();
        else network_.collect();
    }
    bool opened = false;
    try {
        opened = devices_.testPort(copy_.port);
    } catch (const CommunicationException &) {
        opened = false;
    }
    if (!opened) {
        owner_.showMessage(kPortTestFailedMessage);
        return false;
    }
    if (!owner_.storePrinterChoice(language_, memory_)) owner_.showMessage(kStoreFailedMessage);
    if (!owner_.bindModule(language_)) owner_.showMessage(kBindFailedMessage);
    result_ = {true, copy_.port, language_, memory_, copy_.netIPVersion};
    return true;
}

}  // namespace printer_link
