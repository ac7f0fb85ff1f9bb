#include "main_window_rules.h"

namespace glyphmill {

bool CommandEnabled(int command, const CommandState &state) {
    switch (command) {
        case kCommandBitmapFont:
        case kButtonBitmapFont:
        case kCommandGraphicDownload: return false;
        case kCommandDataFileDownload: return state.language == "KDXZ";
        case kCommandDelete: return state.selectedFiles >= 1;
        case kCommandTestPrint: return state.selectedFiles == 1;
        default: return true;
    }
}

std::u16string ToolTipText(int button, UiLanguage language) {
    struct Tip {
        int button;
        const char16_t *texts[3];
    };
    static constexpr Tip kTips[] = {
        {kButtonLinkSettings, {u"通讯设置", u"通訊設置", u"Communication Settings"}},
        {kButtonBitmapFont, {u"点阵字体生成", u"點陣字體生成", u"Create Bitmap Font"}},
        {kButtonShowResources, {u"显示/刷新内部资源", u"顯示/刷新內部資源", u"Show and Refresh Resources"}},
        {kButtonFormat, {u"设备格式化", u"設備格式化", u"Format Device"}},
    };
    const int column = language == UiLanguage::SimplifiedChinese    ? 0
                       : language == UiLanguage::TraditionalChinese ? 1
                                                                    : 2;
    for (const Tip &tip : kTips)
        if (tip.button == button) return tip.texts[column];
    return {};
}

std::filesystem::path HelpFile(UiLanguage language) {
    return language == UiLanguage::English ? "help/Glyphmill_EN.html" : "help/Glyphmill_CN.html";
}

}  // namespace glyphmill
