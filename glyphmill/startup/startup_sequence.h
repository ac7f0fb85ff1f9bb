// What Glyphmill does before its window opens: the connection family from Setting.xml, the
// Config.ini settings, the language module, the link settings and an optional parameter list.
// Each failure ends the start with a numbered message.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app_settings.h"
#include "command_line.h"
#include "link/link_settings.h"

namespace glyphmill {

enum StartupMessage : int {
    kMessageBadSettings = 200,    // Setting.xml, the language value or the port kind
    kMessageNoModule = 400,       // the language module cannot be loaded
    kMessageBadCommandLine = 612,
};

struct StartupEnvironment {
    std::filesystem::path programFolder;
    std::filesystem::path configFolder;     // the folder Config.ini lives in
    int systemLanguageId = 1033;
    std::optional<std::u16string> parameters;  // the parameter list; none when started without
    ModuleBinder bind;
};

struct StartupResult {
    int failureMessage = 0;  // 0 when the start succeeded
    UiLanguage language = UiLanguage::English;
    std::filesystem::path languageFile;  // empty until the language is known
    std::filesystem::path configFile;
    PrintSettings print;

    bool ok() const { return failureMessage == 0; }
};

StartupResult RunStartupSequence(const StartupEnvironment &environment, printer_link::LinkSettings &link);

// The text shown when Glyphmill is already running, in the system's language.
const char16_t *AlreadyRunningText(int systemLanguageId);

}  // namespace glyphmill
