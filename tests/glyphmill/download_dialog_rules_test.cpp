// The font-type list and the name rule of the download dialogs.
#include <gtest/gtest.h>

#include <cstdlib>

#include "download_dialog_rules.h"
#include "file_downloads.h"

namespace {

TEST(FontTypeChoices, TrueTypeOnlyWhereTheLanguageTakesIt) {
    const std::vector<std::string> both{"True Type Font", "Bitmap Font"};
    const std::vector<std::string> bitmap{"Bitmap Font"};
    for (const char *language : {"KDXZ", "KDXT", "KDXC"}) EXPECT_EQ(glyphmill::FontTypeChoices(language), both);
    for (const char *language : {"KDXA", "KDXE"}) EXPECT_EQ(glyphmill::FontTypeChoices(language), bitmap);
}

TEST(NameRule, CountsBytesOfTheCodePage) {
    setenv("KDX_CODEPAGE", "936", 1);
    struct Case {
        std::u16string name;
        char16_t typed;
        bool accepted;
    };
    const Case cases[] = {
        {u"ABCDEFG", u'H', true},      // seven ASCII characters take one more
        {u"ABCDEFG", u'中', false},    // but not a Chinese one, which counts 2
        {u"中文字", u'A', true},        // six bytes take one ASCII character
        {u"中文字", u'中', true},       // eight bytes still fit
        {u"中文字A", u'中', false},
        {u"ABCDEFGH", u'I', false},
        {u"ABCDEFGH", u'\b', true},
        {u"ABCDEFGH", u'\t', true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(glyphmill::AcceptsTypedCharacter(c.name, c.typed), c.accepted) << int(c.typed);
    unsetenv("KDX_CODEPAGE");
}

TEST(FileTitle, DropsFolderAndLastExtension) {
    EXPECT_EQ(glyphmill::FileTitle("/fonts/my.font.ttf"), "my.font");
    EXPECT_EQ(glyphmill::FileTitle("/fonts/NODOT"), "NODOT");
    EXPECT_EQ(glyphmill::FileTitle("plain.otf"), "plain");
}

}  // namespace
