// The XML files next to the program: Setting.xml and the language files, whose top-level
// elements are sections found by name. Every lookup reads the file anew.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace glyphmill {

// The connection family in Setting.xml: "ComType" / "Type"; values other than 1 and 2 count as
// 1. Nothing when the file, the section or the "Type" element is missing.
std::optional<int> ReadComType(const std::filesystem::path &settingFile);

// The text of message `number` ("Warn" / "Title<number>"), or nothing.
std::optional<std::u16string> LookupMessage(const std::filesystem::path &languageFile, int number);

// What a dialog exposes to have its texts applied.
class DialogTextTarget {
public:
    virtual ~DialogTextTarget() = default;
    virtual void setCaption(const std::u16string &caption) = 0;
    virtual std::vector<int> controlNumbers() const = 0;  // the direct child controls, in order
    virtual void setControlText(int control, const std::u16string &text) = 0;
    virtual void setComboEntries(int control, const std::vector<std::u16string> &entries) = 0;
};

// Applies the "Dlg<number>" section: caption, control texts, combo-box lists. False when the
// section is missing; a number of 0 or less does nothing.
bool ApplyDialogTexts(const std::filesystem::path &languageFile, DialogTextTarget &dialog, int number);

// The texts of the first `count` child elements of a section ("Tab", "FileType", "ResList",
// "Wizard", "WizardButton"); nothing when the section is missing or has fewer children.
std::optional<std::vector<std::u16string>> SectionTexts(const std::filesystem::path &languageFile,
                                                       const std::string &section, std::size_t count);

// What the main menu exposes to have its texts applied and its removed menus re-created.
// Positions count the top-level items from 0; entries are found by command number.
class MenuTextTarget {
public:
    virtual ~MenuTextTarget() = default;
    virtual int topLevelCount() const = 0;
    virtual void setTopLevelText(int position, const std::u16string &text) = 0;
    virtual int entryCount(int position) const = 0;  // entries of the pop-up at that position
    virtual void setEntryText(int position, int command, const std::u16string &text) = 0;
    virtual void insertPopup(int position, const std::u16string &text) = 0;
    virtual void appendEntry(int position, int command, const std::u16string &text) = 0;
    virtual void insertSeparator(int position, int index) = 0;
};

// A pop-up menu whose entries are found by command number.
class PopupTextTarget {
public:
    virtual ~PopupTextTarget() = default;
    virtual void setEntryText(int command, const std::u16string &text) = 0;
};

// Relabels the top-level items by "Pos" and their entries by "ID" from the "Menu" section;
// false when the section is missing.
bool ApplyMenuTexts(const std::filesystem::path &languageFile, MenuTextTarget &menu);

// Re-creates the four menus removed from the reduced window: from "SubMenu2" on, four pop-ups
// with their first 3, 1, 4 and 3 entries, and a separator after the first entry of the last.
// False when the section or its elements are missing; nothing is inserted then.
bool RebuildMenus(const std::filesystem::path &languageFile, MenuTextTarget &menu);

// Relabels the resource list's pop-up from "Menu" / "SubMenu4"; false when it is missing.
bool ApplyContextMenuTexts(const std::filesystem::path &languageFile, PopupTextTarget &popup);

// Whether a top-level section of that name exists.
bool HasSection(const std::filesystem::path &file, const std::string &section);

}  // namespace glyphmill
