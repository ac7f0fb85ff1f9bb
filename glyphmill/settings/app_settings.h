// Glyphmill's own settings in Config.ini: the interface language ("Language") and the printer
// choice ("Printer"). The "Communication" section belongs to the link settings.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/profile_store.h"

namespace glyphmill {

enum class UiLanguage : int { SimplifiedChinese = 0, TraditionalChinese = 1, English = 2 };

// The Config.ini path in `folder`. When the folder does not exist it is created and the file
// gets its defaults: the language by the system's language identifier, the link defaults for
// `comType`, "KDXZ" and "FLASH". An existing folder is left alone, even without the file.
std::filesystem::path LocateConfig(const std::filesystem::path &folder, int comType, int systemLanguageId);

// "SimpifiedChinese", "TraditionalChinese" or "English" (the default when missing); any other
// text is nothing.
std::optional<UiLanguage> ReadLanguage(const platform::ProfileStore &store);
bool WriteLanguage(platform::ProfileStore &store, int code);
const char *LanguageName(UiLanguage language);
// The language file of a language, relative to the program folder.
std::filesystem::path LanguageFile(UiLanguage language);

// The printer choice and the fixed test-print values.
struct PrintSettings {
    std::string cmdType = "KDXZ";
    std::string memType = "FLASH";
    std::u16string x = u"10", y = u"10", rotation = u"0";
    std::u16string testText = u"I am test string!";
};

PrintSettings ReadPrintSetting(const platform::ProfileStore &store);
bool WritePrintSetting(platform::ProfileStore &store, const PrintSettings &settings);

}  // namespace glyphmill
