// The three language files shipped in glyphmill/XML: every text the program looks up is there in
// each language, the menu carries the commands of the main window, and the Chinese files have the
// same elements and numbers as the English one.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "language_file.h"
#include "text_catalogue.h"

namespace fs = std::filesystem;
namespace texts = glyphmill::texts;

namespace {

fs::path ShippedFile(const std::string &name) { return fs::path(GLYPHMILL_XML_DIR) / name; }

std::string ReadBytes(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Offset of the first byte that does not start a well-formed UTF-8 sequence (no overlong forms,
// no surrogates, nothing above U+10FFFF), or npos.
std::size_t FirstInvalidUtf8(const std::string &bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                   : lead >= 0xF0 && lead <= 0xF4                           ? 4
                                                                                            : 0;
        if (length == 0 || i + length > bytes.size()) return i;
        char32_t code = lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return i;
            code = (code << 6) | (next & 0x3F);
        }
        const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return i;
        i += length;
    }
    return std::string::npos;
}

const tinyxml2::XMLElement *Section(const tinyxml2::XMLDocument &document, const std::string &name) {
    for (auto *e = document.FirstChildElement(); e; e = e->NextSiblingElement())
        if (name == e->Name()) return e;
    return nullptr;
}

std::vector<const tinyxml2::XMLElement *> Children(const tinyxml2::XMLElement *element) {
    std::vector<const tinyxml2::XMLElement *> children;
    for (auto *child = element->FirstChildElement(); child; child = child->NextSiblingElement())
        children.push_back(child);
    return children;
}

bool NonEmpty(const char *text) { return text && *text; }

// The main menu as the main window builds it: per position, the element name the code looks up
// (empty when any name will do) and the command numbers of its entries, in order.
struct MenuPosition {
    std::string name;
    std::vector<int> commands;
};
const std::vector<MenuPosition> kMainMenu = {
    {"", {57665}},
    {"", {32799}},
    {"SubMenu2", {32776, 32812, 32813}},
    {"", {32814}},
    {"SubMenu4", {32810, 32811, 32798, 32797}},
    {"", {32779, 32786, 57664}},
};
constexpr int kFirstRemovedMenu = 2;  // the reduced window keeps the first two menus

class RecordingDialog : public glyphmill::DialogTextTarget {
public:
    explicit RecordingDialog(std::vector<int> controls) : controls_(std::move(controls)) {}
    std::optional<std::u16string> caption;
    std::map<int, std::u16string> texts;
    std::map<int, std::vector<std::u16string>> combos;

    void setCaption(const std::u16string &text) override { caption = text; }
    std::vector<int> controlNumbers() const override { return controls_; }
    void setControlText(int control, const std::u16string &text) override { texts[control] = text; }
    void setComboEntries(int control, const std::vector<std::u16string> &entries) override {
        combos[control] = entries;
    }

private:
    std::vector<int> controls_;
};

class RecordingMenu : public glyphmill::MenuTextTarget {
public:
    struct Popup {
        std::u16string text;
        std::vector<int> commands;
        std::map<int, std::u16string> entryTexts;
        std::vector<int> separators;
    };
    std::vector<Popup> popups;

    int topLevelCount() const override { return static_cast<int>(popups.size()); }
    void setTopLevelText(int position, const std::u16string &text) override { popups.at(position).text = text; }
    int entryCount(int position) const override { return static_cast<int>(popups.at(position).commands.size()); }
    void setEntryText(int position, int command, const std::u16string &text) override {
        popups.at(position).entryTexts[command] = text;
    }
    void insertPopup(int position, const std::u16string &text) override {
        ASSERT_LE(position, topLevelCount());
        popups.insert(popups.begin() + position, Popup{text, {}, {}, {}});
    }
    void appendEntry(int position, int command, const std::u16string &text) override {
        Popup &popup = popups.at(position);
        popup.commands.push_back(command);
        popup.entryTexts[command] = text;
    }
    void insertSeparator(int position, int index) override { popups.at(position).separators.push_back(index); }
};

class RecordingPopup : public glyphmill::PopupTextTarget {
public:
    std::map<int, std::u16string> entryTexts;
    void setEntryText(int command, const std::u16string &text) override { entryTexts[command] = text; }
};

// The letter after the single "&" of a menu label, or 0 when there is none or more than one.
char Mnemonic(const std::string &label) {
    char letter = 0;
    int count = 0;
    for (std::size_t i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != '&') continue;
        if (label[i + 1] == '&') {  // "&&" is a literal ampersand
            ++i;
            continue;
        }
        letter = static_cast<char>(std::toupper(static_cast<unsigned char>(label[i + 1])));
        ++count;
    }
    return count == 1 ? letter : 0;
}

class ShippedLanguageFile : public ::testing::TestWithParam<const char *> {
protected:
    void SetUp() override {
        path_ = ShippedFile(GetParam());
        ASSERT_TRUE(fs::exists(path_)) << path_;
        ASSERT_EQ(document_.LoadFile(path_.c_str()), tinyxml2::XML_SUCCESS) << document_.ErrorStr();
    }
    fs::path path_;
    tinyxml2::XMLDocument document_;
};

TEST_P(ShippedLanguageFile, IsUtf8XmlWithEachSectionOnce) {
    const std::string bytes = ReadBytes(path_);
    const std::size_t bad = FirstInvalidUtf8(bytes);
    EXPECT_EQ(bad, std::string::npos) << "invalid UTF-8 at byte " << bad;

    const tinyxml2::XMLDeclaration *declaration = document_.FirstChild() ? document_.FirstChild()->ToDeclaration() : nullptr;
    ASSERT_NE(declaration, nullptr) << "the file must start with its XML declaration";
    EXPECT_NE(std::string(declaration->Value()).find("encoding=\"UTF-8\""), std::string::npos) << declaration->Value();

    // Sections and messages are found by the first element of their name, so a second one would
    // never be read.
    std::set<std::string> sections;
    for (auto *section = document_.FirstChildElement(); section; section = section->NextSiblingElement()) {
        EXPECT_TRUE(sections.insert(section->Name()).second) << "section " << section->Name() << " twice";
        std::set<std::string> keys;
        for (const tinyxml2::XMLElement *child : Children(section)) {
            std::string key = child->Name();
            if (const char *id = child->Attribute("ID")) key += std::string(" ID=") + id;
            EXPECT_TRUE(keys.insert(key).second) << section->Name() << " holds " << key << " twice";
        }
    }
}

TEST_P(ShippedLanguageFile, EveryMessageHasAText) {
    for (const int number : texts::kMessages) {
        const std::optional<std::u16string> text = glyphmill::LookupMessage(path_, number);
        ASSERT_TRUE(text.has_value()) << "message " << number << " is missing";
        EXPECT_FALSE(text->empty()) << "message " << number << " is empty";
    }
}

TEST_P(ShippedLanguageFile, EveryDialogHasItsCaptionControlTextsAndLists) {
    for (const texts::DialogTexts &dialog : texts::kDialogs) {
        SCOPED_TRACE("Dlg" + std::to_string(dialog.dialog));
        std::vector<int> controls;
        for (const int control : dialog.controls) {
            if (control == 0) break;
            controls.push_back(control);
        }
        RecordingDialog target(controls);
        ASSERT_TRUE(glyphmill::ApplyDialogTexts(path_, target, dialog.dialog)) << "section missing";

        // The first element is the caption; a control text there would become the caption too.
        const tinyxml2::XMLElement *first = Section(document_, "Dlg" + std::to_string(dialog.dialog))->FirstChildElement();
        ASSERT_NE(first, nullptr);
        EXPECT_NE(std::string(first->Name()).rfind("Control", 0), 0u) << "caption element is " << first->Name();
        EXPECT_TRUE(target.caption.has_value() && !target.caption->empty()) << "no caption";

        for (const int control : controls) {
            const auto text = target.texts.find(control);
            ASSERT_NE(text, target.texts.end()) << "Control" << control << " is missing";
            EXPECT_FALSE(text->second.empty()) << "Control" << control << " is empty";
        }
        for (const texts::ComboList &list : dialog.lists) {
            if (list.control == 0) continue;
            const auto entries = target.combos.find(list.control);
            ASSERT_NE(entries, target.combos.end()) << "Commbox " << list.control << " is missing";
            ASSERT_EQ(entries->second.size(), static_cast<std::size_t>(list.entries)) << "Commbox " << list.control;
            for (std::size_t i = 0; i < entries->second.size(); ++i)
                EXPECT_FALSE(entries->second[i].empty()) << "Commbox " << list.control << " entry " << i;
        }
    }
}

TEST_P(ShippedLanguageFile, CommandLanguageListNamesTheModules) {
    // The link settings dialog finds the configured language in this list and binds the module
    // of the chosen entry by name, so the entries are never translated.
    RecordingDialog target({});
    ASSERT_TRUE(glyphmill::ApplyDialogTexts(path_, target, texts::link_dialog::kDialog));
    EXPECT_EQ(target.combos[texts::link_dialog::kLanguageList],
              (std::vector<std::u16string>{u"KDXZ", u"KDXT", u"KDXA", u"KDXC", u"KDXE"}));
}

TEST_P(ShippedLanguageFile, NamedSectionsHaveTheirTexts) {
    for (const texts::NamedSection &named : texts::kNamedSections) {
        SCOPED_TRACE(named.name);
        ASSERT_TRUE(glyphmill::HasSection(path_, named.name));
        const tinyxml2::XMLElement *section = Section(document_, named.name);
        ASSERT_NE(section, nullptr);
        const std::vector<const tinyxml2::XMLElement *> children = Children(section);
        ASSERT_GE(children.size(), static_cast<std::size_t>(named.children));
        if (std::string(named.name) == "Menu") {
            for (const tinyxml2::XMLElement *menu : children)
                EXPECT_TRUE(NonEmpty(menu->Attribute("text"))) << menu->Name() << " has no text";
            continue;
        }
        const auto found = glyphmill::SectionTexts(path_, named.name, static_cast<std::size_t>(named.children));
        ASSERT_TRUE(found.has_value());
        for (std::size_t i = 0; i < found->size(); ++i) EXPECT_FALSE((*found)[i].empty()) << "child " << i;
    }
}

TEST_P(ShippedLanguageFile, MenuHoldsTheCommandsOfEveryPosition) {
    const tinyxml2::XMLElement *section = Section(document_, "Menu");
    ASSERT_NE(section, nullptr);
    const std::vector<const tinyxml2::XMLElement *> menus = Children(section);
    ASSERT_EQ(menus.size(), kMainMenu.size());
    std::set<char> topMnemonics;
    for (std::size_t position = 0; position < menus.size(); ++position) {
        const tinyxml2::XMLElement *menu = menus[position];
        SCOPED_TRACE(std::string(menu->Name()) + " at position " + std::to_string(position));
        if (!kMainMenu[position].name.empty()) {
            EXPECT_STREQ(menu->Name(), kMainMenu[position].name.c_str());
        }
        EXPECT_EQ(menu->IntAttribute("Pos", -1), static_cast<int>(position));
        const char *label = menu->Attribute("text");
        ASSERT_TRUE(NonEmpty(label));
        const char mnemonic = Mnemonic(label);
        EXPECT_NE(mnemonic, 0) << label << " needs exactly one mnemonic";
        EXPECT_TRUE(topMnemonics.insert(mnemonic).second) << label << " repeats a mnemonic of the menu bar";

        std::vector<int> commands;
        std::set<char> entryMnemonics;
        for (const tinyxml2::XMLElement *item : Children(menu)) {
            commands.push_back(item->IntAttribute("ID", -1));
            const char *text = item->Attribute("text");
            ASSERT_TRUE(NonEmpty(text)) << "entry " << item->IntAttribute("ID", -1) << " has no text";
            const char letter = Mnemonic(text);
            EXPECT_NE(letter, 0) << text << " needs exactly one mnemonic";
            EXPECT_TRUE(entryMnemonics.insert(letter).second) << text << " repeats a mnemonic of its menu";
        }
        EXPECT_EQ(commands, kMainMenu[position].commands);
    }
}

TEST_P(ShippedLanguageFile, MenuTextsRelabelEveryCommand) {
    RecordingMenu menu;
    for (const MenuPosition &position : kMainMenu) menu.popups.push_back({u"", position.commands, {}, {}});
    ASSERT_TRUE(glyphmill::ApplyMenuTexts(path_, menu));
    for (std::size_t position = 0; position < kMainMenu.size(); ++position) {
        SCOPED_TRACE("position " + std::to_string(position));
        const RecordingMenu::Popup &popup = menu.popups[position];
        EXPECT_FALSE(popup.text.empty());
        for (const int command : kMainMenu[position].commands) {
            const auto text = popup.entryTexts.find(command);
            ASSERT_NE(text, popup.entryTexts.end()) << "command " << command << " not relabelled";
            EXPECT_FALSE(text->second.empty()) << "command " << command;
        }
    }
}

TEST_P(ShippedLanguageFile, RebuildRestoresTheRemovedMenus) {
    RecordingMenu menu;
    for (int position = 0; position < kFirstRemovedMenu; ++position)
        menu.popups.push_back({u"kept", kMainMenu[position].commands, {}, {}});
    ASSERT_TRUE(glyphmill::RebuildMenus(path_, menu));
    ASSERT_EQ(menu.popups.size(), kMainMenu.size());
    for (std::size_t position = kFirstRemovedMenu; position < kMainMenu.size(); ++position) {
        SCOPED_TRACE("position " + std::to_string(position));
        const RecordingMenu::Popup &popup = menu.popups[position];
        EXPECT_FALSE(popup.text.empty());
        EXPECT_EQ(popup.commands, kMainMenu[position].commands);
        for (const auto &[command, text] : popup.entryTexts) EXPECT_FALSE(text.empty()) << "command " << command;
    }
    EXPECT_EQ(menu.popups.back().separators, std::vector<int>{1});  // between the language and help entries
}

TEST_P(ShippedLanguageFile, ContextMenuTextsCoverDeleteAndTestPrint) {
    RecordingPopup popup;
    ASSERT_TRUE(glyphmill::ApplyContextMenuTexts(path_, popup));
    for (const int command : {32798, 32797}) {
        const auto text = popup.entryTexts.find(command);
        ASSERT_NE(text, popup.entryTexts.end()) << "command " << command << " not relabelled";
        EXPECT_FALSE(text->second.empty()) << "command " << command;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedLanguageFile,
                         ::testing::Values("SimpifiedChinese.xml", "TraditionalChinese.xml", "English.xml"),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                             const std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

// Element names and the "ID" and "Pos" attributes, recursively: where `file` differs from
// `reference`, one line per difference.
void CompareStructure(const tinyxml2::XMLNode *reference, const tinyxml2::XMLNode *file, const std::string &where,
                      std::vector<std::string> &differences) {
    const tinyxml2::XMLElement *r = reference->FirstChildElement();
    const tinyxml2::XMLElement *f = file->FirstChildElement();
    for (int index = 0; r || f; ++index) {
        const std::string at = where + "/" + (r ? r->Name() : f->Name()) + "[" + std::to_string(index) + "]";
        if (!r || !f) {
            differences.push_back(at + (r ? " is missing" : " is extra"));
            return;
        }
        if (std::string(r->Name()) != f->Name()) {
            differences.push_back(at + " is named " + f->Name());
            return;
        }
        for (const char *attribute : {"ID", "Pos"}) {
            const char *expected = r->Attribute(attribute);
            const char *actual = f->Attribute(attribute);
            if ((expected == nullptr) != (actual == nullptr) || (expected && std::string(expected) != actual))
                differences.push_back(at + " " + attribute + "=" + (actual ? actual : "(none)") + " instead of " +
                                      (expected ? expected : "(none)"));
        }
        CompareStructure(r, f, at, differences);
        r = r->NextSiblingElement();
        f = f->NextSiblingElement();
    }
}

class TranslatedLanguageFile : public ::testing::TestWithParam<const char *> {};

TEST_P(TranslatedLanguageFile, HasTheElementsOfTheEnglishFile) {
    tinyxml2::XMLDocument english;
    tinyxml2::XMLDocument translated;
    ASSERT_EQ(english.LoadFile(ShippedFile("English.xml").c_str()), tinyxml2::XML_SUCCESS) << english.ErrorStr();
    ASSERT_EQ(translated.LoadFile(ShippedFile(GetParam()).c_str()), tinyxml2::XML_SUCCESS) << translated.ErrorStr();
    std::vector<std::string> differences;
    CompareStructure(&english, &translated, "", differences);
    std::string report;
    for (const std::string &line : differences) report += line + "\n";
    EXPECT_TRUE(differences.empty()) << report;
}

INSTANTIATE_TEST_SUITE_P(Languages, TranslatedLanguageFile,
                         ::testing::Values("SimpifiedChinese.xml", "TraditionalChinese.xml"),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                             const std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
