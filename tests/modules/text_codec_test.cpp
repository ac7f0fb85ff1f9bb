// How the shared text conversion picks the "ANSI" code page and the system language from the
// environment and the locale.
#include "text_codec.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

#include "module_test_support.h"

namespace kdxtest {
namespace {

struct LocaleCase {
    const char *locale;
    int codePage;
    int languageId;
};
void PrintTo(const LocaleCase &c, std::ostream *os) { *os << c.locale; }

class LocaleRules : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleRules, GiveTheWindowsCodePageAndLanguage) {
    EXPECT_EQ(kdx::codePageForLocale(GetParam().locale), GetParam().codePage);
    EXPECT_EQ(kdx::languageIdForLocale(GetParam().locale), GetParam().languageId);
}

INSTANTIATE_TEST_SUITE_P(Locales, LocaleRules,
                         ::testing::Values(LocaleCase{"zh_CN.UTF-8", 936, 2052}, LocaleCase{"zh_SG", 936, 4100},
                                           LocaleCase{"zh_TW.UTF-8", 950, 1028}, LocaleCase{"zh_HK.Big5", 950, 3076},
                                           LocaleCase{"ja_JP.UTF-8", 932, 1041}, LocaleCase{"ko_KR.EUC-KR", 949, 1042},
                                           LocaleCase{"th_TH", 874, 1033}, LocaleCase{"vi_VN", 1258, 1033},
                                           LocaleCase{"ru_RU.UTF-8", 1251, 1033}, LocaleCase{"uk_UA", 1251, 1033},
                                           LocaleCase{"bg_BG", 1251, 1033}, LocaleCase{"pl_PL", 1250, 1033},
                                           LocaleCase{"cs_CZ.UTF-8", 1250, 1033}, LocaleCase{"hu_HU", 1250, 1033},
                                           LocaleCase{"el_GR", 1253, 1033}, LocaleCase{"tr_TR", 1254, 1033},
                                           LocaleCase{"az_AZ", 1254, 1033}, LocaleCase{"he_IL", 1255, 1033},
                                           LocaleCase{"ar_EG.UTF-8", 1256, 1033}, LocaleCase{"fa_IR", 1256, 1033},
                                           LocaleCase{"lt_LT", 1257, 1033}, LocaleCase{"lv_LV", 1257, 1033},
                                           LocaleCase{"et_EE", 1257, 1033}, LocaleCase{"en_US.UTF-8", 1252, 1033},
                                           LocaleCase{"de_DE@euro", 1252, 1033}, LocaleCase{"C", 1252, 1033},
                                           LocaleCase{"POSIX", 1252, 1033}, LocaleCase{"", 1252, 1033}),
                         [](const auto &info) {
                             std::string name = info.param.locale;
                             for (char &c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name.empty() ? std::string("empty") : name;
                         });

TEST(TextCodec, ExplicitSettingsWinOverTheLocale) {
    ScopedEnv all("LC_ALL", "ja_JP.UTF-8");
    ScopedEnv codePage("KDX_CODEPAGE", "936");
    ScopedEnv language("KDX_LANGID", "1042");
    EXPECT_EQ(kdx::ansiCodePage(), 936);
    EXPECT_EQ(kdx::systemLanguageId(), 1042);
}

TEST(TextCodec, LocaleVariablesAreTakenInOrder) {
    ScopedEnv codePage("KDX_CODEPAGE", nullptr);
    ScopedEnv language("KDX_LANGID", nullptr);
    ScopedEnv lang("LANG", "ko_KR.UTF-8");
    {
        ScopedEnv ctype("LC_CTYPE", "zh_TW.UTF-8");
        {
            ScopedEnv all("LC_ALL", "ja_JP.UTF-8");
            EXPECT_EQ(kdx::ansiCodePage(), 932);
            EXPECT_EQ(kdx::systemLanguageId(), 1041);
        }
        ScopedEnv noAll("LC_ALL", nullptr);
        EXPECT_EQ(kdx::ansiCodePage(), 950);
        EXPECT_EQ(kdx::systemLanguageId(), 1028);
    }
    ScopedEnv noAll("LC_ALL", nullptr);
    ScopedEnv noCtype("LC_CTYPE", nullptr);
    EXPECT_EQ(kdx::ansiCodePage(), 949);
    EXPECT_EQ(kdx::systemLanguageId(), 1042);
}

TEST(TextCodec, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(kdx::toAnsi(u"宋体", 1252), "??");
    EXPECT_EQ(kdx::toAnsi(u"宋体", 936), "\xCB\xCE\xCC\xE5");
    EXPECT_EQ(kdx::toAnsi(u"caf\u00e9", 1252), "caf\xE9");
}

}  // namespace
}  // namespace kdxtest
