#include "app_settings.h"

#include <system_error>

#include "link/communication_section.h"

namespace glyphmill {
namespace {

constexpr const char *kNames[] = {"SimpifiedChinese", "TraditionalChinese", "English"};

}  // namespace

const char *LanguageName(UiLanguage language) { return kNames[static_cast<int>(language)]; }

std::filesystem::path LanguageFile(UiLanguage language) {
    return std::filesystem::path("XML") / (std::string(LanguageName(language)) + ".xml");
}

std::filesystem::path LocateConfig(const std::filesystem::path &folder, int comType, int systemLanguageId) {
    const std::filesystem::path file = folder / "Config.ini";
    std::error_code error;
    if (std::filesystem::exists(folder, error)) return file;
    std::filesystem::create_directories(folder, error);
    platform::ProfileStore store(file);
    const UiLanguage language = systemLanguageId == 2052   ? UiLanguage::SimplifiedChinese
                                : systemLanguageId == 1028 ? UiLanguage::TraditionalChinese
                                                           : UiLanguage::English;
    store.write("Language", "CurLanguage", LanguageName(language));
    printer_link::writeDefaultCommunicationSection(store, comType);
    store.write("Printer", "CmdType", "KDXZ");
    store.write("Printer", "MemType", "FLASH");
    return file;
}

std::optional<UiLanguage> ReadLanguage(const platform::ProfileStore &store) {
    const std::string name = store.read("Language", "CurLanguage", "English");
    for (int code = 0; code < 3; ++code)
        if (name == kNames[code]) return static_cast<UiLanguage>(code);
    return std::nullopt;
}

bool WriteLanguage(platform::ProfileStore &store, int code) {
    if (code < 0 || code > 2) return false;
    return store.write("Language", "CurLanguage", kNames[code]);
}

PrintSettings ReadPrintSetting(const platform::ProfileStore &store) {
    PrintSettings settings;
    settings.cmdType = store.read("Printer", "CmdType", "KDXZ");
    settings.memType = store.read("Printer", "MemType", "FLASH");
    return settings;
}

bool WritePrintSetting(platform::ProfileStore &store, const PrintSettings &settings) {
    store.write("Printer", "CmdType", settings.cmdType);
    store.write("Printer", "MemType", settings.memType);
    return true;
}

}  // namespace glyphmill
