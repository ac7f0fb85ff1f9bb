// Every text number Glyphmill looks up in its language files: the messages ("Warn" /
// "Title<n>"), the dialogs ("Dlg<n>") with the controls that take a text or a list, and the
// named sections. Code refers to these names, and the language-file test checks every entry
// against each of the three files, so a text that is looked up is never missing.
#pragma once

#include <array>

#include "link/dialogs/link_dialog_numbers.h"

namespace glyphmill::texts {

using namespace printer_link::dialog_numbers;

enum Message : int {
    kNoFontSetForPreview = 100,   // the preview cannot be built from the chosen set
    kFontWrapFailed = 101,        // a bitmap font file cannot be re-wrapped
    kFontFileEmpty = 102,         // the bitmap font file to send is empty
    kTrueTypeBuildFailed = 103,   // the TrueType command cannot be built
    kDataFileBuildFailed = 104,   // the data-file command cannot be built
    kFileUnreadable = 105,        // the chosen file cannot be read or is empty
    kNoGraphicFormats = 106,      // the language offers no graphic format
    kGraphicBuildFailed = 107,    // the graphic command cannot be built
    kBadSettings = 200,           // Setting.xml, the language value or the port kind
    kSettingsNotWritten = 201,
    kNoModule = 400,              // the language module cannot be loaded
    kOutOfMemory = 502,           // a download buffer cannot be allocated or the printer is silent
    kDownloadFailed = 503,
    kNotEnoughPrinterMemory = 504,
    kMissingTexts = 600,          // a section of the language file or a module procedure is missing
    kFontFileMissing = 601,
    kNoNetworkPrinter = 602,
    kFontSaveFailed = 603,
    kGraphicFailed = 604,
    kMenuTextsFailed = 605,
    kLanguageMenuFailed = 606,
    kResourceListTextsFailed = 607,
    kListingFailed = 608,
    kFormatFailed = 609,
    kDeleteFailed = 610,
    kTestPrintFailed = 611,
    kBadCommandLine = 612,
    kCannotCreateFile = 700,
    kEncodingRefused = 701,
    kPitchRefused = 702,
    kRangeRefused = 703,
    kImageNameRestored = 704,
    kThresholdRestored = 705,
    kImageSizeReset = 706,
    kPortCannotOpen = 707,
    kBitmapFontSent = 800,
    kTrueTypeSent = 801,
    kGraphicSent = 802,
    kDataFileSent = 803,
    kFontFileSaved = 804,
    kAskFormat = 900,
    kAskDelete = 901,
};

inline constexpr std::array kMessages = {
    kNoFontSetForPreview, kFontWrapFailed, kFontFileEmpty, kTrueTypeBuildFailed, kDataFileBuildFailed,
    kFileUnreadable, kNoGraphicFormats, kGraphicBuildFailed, kBadSettings, kSettingsNotWritten, kNoModule,
    kOutOfMemory, kDownloadFailed, kNotEnoughPrinterMemory, kMissingTexts, kFontFileMissing, kNoNetworkPrinter,
    kFontSaveFailed, kGraphicFailed, kMenuTextsFailed, kLanguageMenuFailed, kResourceListTextsFailed,
    kListingFailed, kFormatFailed, kDeleteFailed, kTestPrintFailed, kBadCommandLine, kCannotCreateFile,
    kEncodingRefused, kPitchRefused, kRangeRefused, kImageNameRestored, kThresholdRestored, kImageSizeReset,
    kPortCannotOpen, kBitmapFontSent, kTrueTypeSent, kGraphicSent, kDataFileSent, kFontFileSaved, kAskFormat,
    kAskDelete,
};

// Buttons every dialog shares.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;

// Dialog numbers and the numbers of their controls.
namespace about {                 // the about box
inline constexpr int kDialog = 100;
inline constexpr int kTitle = 1001, kCopyright = 1002;
}
namespace language_dialog {
inline constexpr int kDialog = 132;
inline constexpr int kLabel = 1051, kList = 1052;
}
namespace common_options {
inline constexpr int kDialog = 135;
inline constexpr int kLabel = 1061, kTestText = 1062;
}
namespace name_dialog {
inline constexpr int kDialog = 143;
inline constexpr int kCaption = 1011, kName = 1023;
}
namespace font_type_dialog {
inline constexpr int kDialog = 350;
inline constexpr int kLabel = 1004, kList = 1005;
}
namespace agreement_dialog {
inline constexpr int kDialog = 343;
inline constexpr int kText = 1003;
}
namespace transfer_dialog {
inline constexpr int kDialog = 351;
inline constexpr int kLabel = 1058, kProgress = 1059;
}
// What the language-file test checks for one dialog section: the controls that need a text
// and the combo boxes that need a list of `entries` entries.
struct ComboList {
    int control;
    int entries;
};
struct DialogTexts {
    int dialog;
    std::array<int, 12> controls;  // 0 ends the list
    std::array<ComboList, 2> lists;
};

inline constexpr std::array kDialogs = {
    DialogTexts{about::kDialog, {about::kTitle, about::kCopyright, kOk}, {}},
    DialogTexts{language_dialog::kDialog, {language_dialog::kLabel, kOk, kCancel}, {}},
    DialogTexts{common_options::kDialog, {common_options::kLabel, kOk, kCancel}, {}},
    DialogTexts{name_dialog::kDialog, {name_dialog::kCaption, kOk, kCancel}, {}},
    DialogTexts{font_type_dialog::kDialog, {font_type_dialog::kLabel, kOk, kCancel}, {}},
    DialogTexts{agreement_dialog::kDialog, {agreement_dialog::kText, kOk, kCancel}, {}},
    DialogTexts{transfer_dialog::kDialog, {transfer_dialog::kLabel}, {}},
    DialogTexts{search_dialog::kDialog, {search_dialog::kLabel}, {}},
    DialogTexts{link_dialog::kDialog,
                {link_dialog::kLanguageLabel, link_dialog::kMemoryLabel, link_dialog::kFamilyLabel,
                 link_dialog::kPageFrame, kOk, kCancel},
                {ComboList{link_dialog::kLanguageList, 5}, ComboList{link_dialog::kFamilyList, 4}}},
    DialogTexts{serial_page::kDialog,
                {serial_page::kNameLabel, serial_page::kSpeedLabel, serial_page::kDataBitsLabel,
                 serial_page::kStopBitsLabel, serial_page::kParityLabel, serial_page::kFlowLabel},
                {ComboList{serial_page::kParity, 5}, ComboList{serial_page::kFlow, 4}}},
    DialogTexts{network_page::kDialog, {network_page::kIpv4, network_page::kIpv6, network_page::kPortLabel}, {}},
    DialogTexts{installed_page::kDialog,
                {installed_page::kPrinterLabel, installed_page::kNetworkPrinter, installed_page::kIpv4,
                 installed_page::kIpv6, installed_page::kPortLabel},
                {}},
};

// Sections read by name, with the least number of child elements each must have.
struct NamedSection {
    const char *name;
    int children;
};
inline constexpr std::array kNamedSections = {
    NamedSection{"Menu", 6},     NamedSection{"Tab", 2},    NamedSection{"FileType", 2},
    NamedSection{"ResList", 4},  NamedSection{"Wizard", 3}, NamedSection{"WizardButton", 4},
};

}  // namespace glyphmill::texts
