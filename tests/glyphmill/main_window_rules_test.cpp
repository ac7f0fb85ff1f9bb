// Command enabling, tool tips and the help page of the main window.
#include <gtest/gtest.h>

#include "main_window_rules.h"

namespace {

using namespace glyphmill;

TEST(CommandRules, EnablingByLanguageAndSelection) {
    struct Case {
        int command;
        std::string language;
        std::size_t selected;
        bool enabled;
    };
    const Case cases[] = {
        {kCommandDataFileDownload, "KDXZ", 0, true},
        {kCommandDataFileDownload, "KDXT", 0, false},
        {kCommandDelete, "KDXZ", 0, false},
        {kCommandDelete, "KDXZ", 2, true},
        {kCommandTestPrint, "KDXZ", 1, true},
        {kCommandTestPrint, "KDXZ", 2, false},
        {kCommandFontDownload, "KDXA", 0, true},
        {kCommandShowResources, "KDXE", 0, true},
        {kCommandBitmapFont, "KDXZ", 0, false},  // the bitmap-font workflow is not in the program yet
        {kButtonBitmapFont, "KDXZ", 0, false},
        {kCommandGraphicDownload, "KDXZ", 0, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CommandEnabled(c.command, CommandState{c.language, c.selected}), c.enabled)
            << c.command << " " << c.language << " " << c.selected;
}

TEST(CommandRules, ToolTipsByInterfaceLanguage) {
    EXPECT_EQ(ToolTipText(kButtonLinkSettings, UiLanguage::SimplifiedChinese), u"通讯设置");
    EXPECT_EQ(ToolTipText(kButtonShowResources, UiLanguage::TraditionalChinese), u"顯示/刷新內部資源");
    EXPECT_EQ(ToolTipText(kButtonFormat, UiLanguage::English), u"Format Device");
    EXPECT_EQ(ToolTipText(kButtonBitmapFont, UiLanguage::English), u"Create Bitmap Font");
    EXPECT_EQ(ToolTipText(158, UiLanguage::English), u"");
}

TEST(CommandRules, ChineseHelpForBothChineseLanguages) {
    EXPECT_EQ(HelpFile(UiLanguage::SimplifiedChinese), HelpFile(UiLanguage::TraditionalChinese));
    EXPECT_NE(HelpFile(UiLanguage::SimplifiedChinese), HelpFile(UiLanguage::English));
    EXPECT_EQ(HelpFile(UiLanguage::English).filename(), "Glyphmill_EN.html");
}

}  // namespace
