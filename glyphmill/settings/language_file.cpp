#include "language_file.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "text_codec.h"

namespace glyphmill {
namespace {

struct LoadedFile {
    tinyxml2::XMLDocument document;
    bool loaded = false;
    explicit LoadedFile(const std::filesystem::path &path) {
        loaded = document.LoadFile(path.c_str()) == tinyxml2::XML_SUCCESS;
    }
    // The first top-level element of that exact name.
    const tinyxml2::XMLElement *section(const std::string &name) const {
        if (!loaded) return nullptr;
        for (auto *e = document.FirstChildElement(); e; e = e->NextSiblingElement())
            if (name == e->Name()) return e;
        return nullptr;
    }
};

std::u16string textOf(const tinyxml2::XMLElement *element) {
    const char *text = element ? element->GetText() : nullptr;
    return text ? kdx::fromUtf8(text) : std::u16string();
}

std::u16string attributeText(const tinyxml2::XMLElement *element, const char *name) {
    const char *text = element->Attribute(name);
    return text ? kdx::fromUtf8(text) : std::u16string();
}

// The element itself, then its descendants in document order.
const tinyxml2::XMLElement *findDepthFirst(const tinyxml2::XMLElement *element, const std::string &name) {
    if (name == element->Name()) return element;
    for (auto *child = element->FirstChildElement(); child; child = child->NextSiblingElement())
        if (auto *found = findDepthFirst(child, name)) return found;
    return nullptr;
}

}  // namespace

std::optional<int> ReadComType(const std::filesystem::path &settingFile) {
    LoadedFile file(settingFile);
    const tinyxml2::XMLElement *section = file.section("ComType");
    const tinyxml2::XMLElement *type = section ? section->FirstChildElement("Type") : nullptr;
    if (!type) return std::nullopt;
    const char *text = type->GetText();
    const long value = text ? std::strtol(text, nullptr, 10) : 0;
    return value == 2 ? 2 : 1;
}

std::optional<std::u16string> LookupMessage(const std::filesystem::path &languageFile, int number) {
    if (languageFile.empty()) return std::nullopt;
    LoadedFile file(languageFile);
    const tinyxml2::XMLElement *warn = file.section("Warn");
    if (!warn) return std::nullopt;
    const std::string name = "Title" + std::to_string(number);
    const tinyxml2::XMLElement *entry = warn->FirstChildElement(name.c_str());
    if (!entry) return std::nullopt;
    return textOf(entry);
}

bool ApplyDialogTexts(const std::filesystem::path &languageFile, DialogTextTarget &dialog, int number) {
    if (number <= 0) return false;
    LoadedFile file(languageFile);
    const tinyxml2::XMLElement *section = file.section("Dlg" + std::to_string(number));
    if (!section) return false;
    if (const std::u16string caption = textOf(section->FirstChildElement()); !caption.empty())
        dialog.setCaption(caption);
    for (int control : dialog.controlNumbers())
        if (auto *element = findDepthFirst(section, "Control" + std::to_string(control)))
            dialog.setControlText(control, textOf(element));
    for (auto *combo = section->FirstChildElement("Commbox"); combo; combo = combo->NextSiblingElement("Commbox")) {
        std::vector<std::u16string> entries;
        for (auto *item = combo->FirstChildElement(); item; item = item->NextSiblingElement())
            if (const char *text = item->Attribute("text")) entries.push_back(kdx::fromUtf8(text));
        dialog.setComboEntries(combo->IntAttribute("ID"), entries);
    }
    return true;
}

std::optional<std::vector<std::u16string>> SectionTexts(const std::filesystem::path &languageFile,
                                                       const std::string &name, std::size_t count) {
    LoadedFile file(languageFile);
    const tinyxml2::XMLElement *section = file.section(name);
    if (!section) return std::nullopt;
    std::vector<std::u16string> texts;
    for (auto *e = section->FirstChildElement(); e && texts.size() < count; e = e->NextSiblingElement())
        texts.push_back(textOf(e));
    if (texts.size() < count) return std::nullopt;
    return texts;
}

bool ApplyMenuTexts(const std::filesystem::path &languageFile, MenuTextTarget &menu) {
    LoadedFile file(languageFile);
    const tinyxml2::XMLElement *section = file.section("Menu");
    if (!section) return false;
    int items = 0;
    for (auto *top = section->FirstChildElement(); top && items < menu.topLevelCount();
         top = top->NextSiblingElement(), ++items) {
        const int position = top->IntAttribute("Pos", -1);
        if (position < 0 || position >= menu.topLevelCount()) continue;
        menu.setTopLevelText(position, attributeText(top, "text"));
        int entries = 0;
        for (auto *entry = top->FirstChildElement(); entry && entries < menu.entryCount(position);
             entry = entry->NextSiblingElement(), ++entries)
            menu.setEntryText(position, entry->IntAttribute("ID"), attributeText(entry, "text"));
    }
    return true;
}

bool RebuildMenus(const std::filesystem::path &languageFile, MenuTextTarget &menu) {
    LoadedFile file(languageFile);
    const tinyxml2::XMLElement *section = file.section("Menu");
    const tinyxml2::XMLElement *first = section ? section->FirstChildElement("SubMenu2") : nullptr;
    constexpr int kEntries[] = {3, 1, 4, 3};
    const tinyxml2::XMLElement *menus[4] = {};
    for (int i = 0; i < 4; ++i) {
        menus[i] = i == 0 ? first : (menus[i - 1] ? menus[i - 1]->NextSiblingElement() : nullptr);
        if (!menus[i]) return false;
    }
    int lastPosition = -1;
    for (int i = 0; i < 4; ++i) {
        const int position = std::clamp(menus[i]->IntAttribute("Pos", menu.topLevelCount()), 0, menu.topLevelCount());
        menu.insertPopup(position, attributeText(menus[i], "text"));
        int added = 0;
        for (auto *entry = menus[i]->FirstChildElement(); entry && added < kEntries[i];
             entry = entry->NextSiblingElement(), ++added)
            menu.appendEntry(position, entry->IntAttribute("ID"), attributeText(entry, "text"));
        lastPosition = position;
    }
    menu.insertSeparator(lastPosition, 1);
    return true;
}

bool ApplyContextMenuTexts(const std::filesystem::path &languageFile, PopupTextTarget &popup) {
    LoadedFile file(languageFile);
    const tinyxml2::XMLElement *section = file.section("Menu");
    const tinyxml2::XMLElement *tools = section ? section->FirstChildElement("SubMenu4") : nullptr;
    if (!tools) return false;
    for (auto *entry = tools->FirstChildElement(); entry; entry = entry->NextSiblingElement())
        popup.setEntryText(entry->IntAttribute("ID"), attributeText(entry, "text"));
    return true;
}

bool HasSection(const std::filesystem::path &path, const std::string &section) {
    return LoadedFile(path).section(section) != nullptr;
}

}  // namespace glyphmill
