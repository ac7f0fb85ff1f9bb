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

// Whether a top-level section of that name exists.
bool HasSection(const std::filesystem::path &file, const std::string &section);

}  // namespace glyphmill
