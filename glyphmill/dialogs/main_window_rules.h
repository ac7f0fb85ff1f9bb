// The command table of the main window and the rules that do not need a window: which
// commands are enabled, the tool-bar tool tips by interface language and the help file.
#pragma once

#include <filesystem>
#include <string>

#include "app_settings.h"

namespace glyphmill {

enum Command : int {
    kCommandExit = 57665,
    kCommandLinkSettings = 32799,
    kCommandBitmapFont = 32776,
    kCommandFontDownload = 32812,
    kCommandDataFileDownload = 32813,
    kCommandGraphicDownload = 32814,
    kCommandShowResources = 32810,
    kCommandFormat = 32811,
    kCommandDelete = 32798,
    kCommandTestPrint = 32797,
    kCommandLanguage = 32779,
    kCommandHelp = 32786,
    kCommandAbout = 57664,
    kCommandCommonOptions = 161,
    // Tool-bar buttons.
    kButtonLinkSettings = 160,
    kButtonBitmapFont = 159,
    kButtonShowResources = 156,
    kButtonFormat = 157,
};

struct CommandState {
    std::string language;         // the current command language
    std::size_t selectedFiles = 0;  // rows selected in the resource list
};

// Whether a command can run now. The bitmap-font and graphic workflows are not part of this
// program yet, so their commands stay disabled.
bool CommandEnabled(int command, const CommandState &state);

// The tool tip of a tool-bar button by the interface language; empty for other numbers.
std::u16string ToolTipText(int button, UiLanguage language);

// The help page, relative to the program folder: English for English, Chinese otherwise.
std::filesystem::path HelpFile(UiLanguage language);

}  // namespace glyphmill
