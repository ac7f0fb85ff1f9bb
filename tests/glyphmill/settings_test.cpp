// Config.ini's language and printer sections, Setting.xml and the language files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <map>

#include "app_settings.h"
#include "language_file.h"

namespace fs = std::filesystem;

namespace {

class TempFolder : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("glyphmill-settings-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    fs::path write(const std::string &name, const std::string &text) {
        std::ofstream(root_ / name, std::ios::binary) << text;
        return root_ / name;
    }
    fs::path root_;
};

using Settings = TempFolder;

TEST_F(Settings, NewFolderGetsDefaultsByTheSystemLanguage) {
    struct Case {
        int languageId;
        glyphmill::UiLanguage language;
    };
    for (const Case c : {Case{2052, glyphmill::UiLanguage::SimplifiedChinese},
                         Case{1028, glyphmill::UiLanguage::TraditionalChinese}, Case{1033, glyphmill::UiLanguage::English}}) {
        const fs::path folder = root_ / std::to_string(c.languageId) / "Glyphmill";
        const fs::path file = glyphmill::LocateConfig(folder, 2, c.languageId);
        platform::ProfileStore store(file);
        EXPECT_EQ(glyphmill::ReadLanguage(store), c.language);
        EXPECT_EQ(store.find("Communication", "PortType"), "6");
        EXPECT_EQ(store.find("Printer", "CmdType"), "KDXZ");
        EXPECT_EQ(store.find("Printer", "MemType"), "FLASH");
    }
}

TEST_F(Settings, ExistingFolderWithoutTheFileIsNotRecreated) {
    const fs::path file = glyphmill::LocateConfig(root_, 1, 2052);
    EXPECT_FALSE(fs::exists(file));
    platform::ProfileStore store(file);
    EXPECT_EQ(glyphmill::ReadLanguage(store), glyphmill::UiLanguage::English);
    const glyphmill::PrintSettings print = glyphmill::ReadPrintSetting(store);
    EXPECT_EQ(print.cmdType, "KDXZ");
    EXPECT_EQ(print.memType, "FLASH");
    EXPECT_EQ(print.testText, u"I am test string!");
}

TEST_F(Settings, LanguageNamesAreExact) {
    platform::ProfileStore store(root_ / "Config.ini");
    for (const char *bad : {"SimplifiedChinese", "english", ""}) {
        store.write("Language", "CurLanguage", bad);
        EXPECT_FALSE(glyphmill::ReadLanguage(store).has_value()) << bad;
    }
    EXPECT_FALSE(glyphmill::WriteLanguage(store, 3));
    ASSERT_TRUE(glyphmill::WriteLanguage(store, 1));
    EXPECT_EQ(glyphmill::ReadLanguage(store), glyphmill::UiLanguage::TraditionalChinese);
}

TEST_F(Settings, ComTypeFromSettingXml) {
    struct Case {
        const char *xml;
        std::optional<int> comType;
    };
    const Case cases[] = {
        {"<ComType><Type>2</Type></ComType>", 2},
        {"<ComType><Type>3</Type></ComType>", 1},
        {"\xEF\xBB\xBF<Other/><ComType><Type>1</Type></ComType>", 1},
        {"<ComType></ComType>", std::nullopt},
        {"<Other><Type>2</Type></Other>", std::nullopt},
        {"<ComType><Type>2</Type>", std::nullopt},
    };
    for (const Case &c : cases) EXPECT_EQ(glyphmill::ReadComType(write("Setting.xml", c.xml)), c.comType) << c.xml;
    EXPECT_FALSE(glyphmill::ReadComType(root_ / "missing.xml").has_value());
}

class RecordingDialog : public glyphmill::DialogTextTarget {
public:
    std::u16string caption = u"unchanged";
    std::vector<int> controls{1005, 1011, 2000};
    std::map<int, std::u16string> texts;
    std::map<int, std::vector<std::u16string>> combos;

    void setCaption(const std::u16string &text) override { caption = text; }
    std::vector<int> controlNumbers() const override { return controls; }
    void setControlText(int control, const std::u16string &text) override { texts[control] = text; }
    void setComboEntries(int control, const std::vector<std::u16string> &entries) override { combos[control] = entries; }
};

using LanguageFile = TempFolder;

TEST_F(LanguageFile, DialogTextsMessagesAndCombos) {
    const fs::path file = write("English.xml", R"(<?xml version="1.0" encoding="UTF-8"?>
<Dlg350><Caption>Font type</Caption><Control1011>Choose the font type:</Control1011>
  <Commbox ID="1005"><Item text="True Type Font"/><Item text="Bitmap Font"/><Control2000>Nested</Control2000></Commbox>
</Dlg350>
<Dlg351><Control1011>Sending</Control1011></Dlg351>
<Dlg352/>
<Warn><Title503>The download failed.</Title503><Title200>设置错误</Title200></Warn>)");
    RecordingDialog dialog;
    ASSERT_TRUE(glyphmill::ApplyDialogTexts(file, dialog, 350));
    EXPECT_EQ(dialog.caption, u"Font type");
    EXPECT_EQ(dialog.texts[1011], u"Choose the font type:");
    EXPECT_EQ(dialog.texts[2000], u"Nested");
    EXPECT_EQ(dialog.texts.count(1005), 0u);
    EXPECT_EQ(dialog.combos[1005], (std::vector<std::u16string>{u"True Type Font", u"Bitmap Font"}));

    RecordingDialog first;
    ASSERT_TRUE(glyphmill::ApplyDialogTexts(file, first, 351));
    EXPECT_EQ(first.caption, u"Sending");  // the first child is also the caption
    RecordingDialog empty;
    ASSERT_TRUE(glyphmill::ApplyDialogTexts(file, empty, 352));
    EXPECT_EQ(empty.caption, u"unchanged");
    EXPECT_FALSE(glyphmill::ApplyDialogTexts(file, empty, 353));
    EXPECT_FALSE(glyphmill::ApplyDialogTexts(file, empty, 0));

    EXPECT_EQ(glyphmill::LookupMessage(file, 503), u"The download failed.");
    EXPECT_EQ(glyphmill::LookupMessage(file, 200), u"设置错误");
    EXPECT_FALSE(glyphmill::LookupMessage(file, 504).has_value());
    EXPECT_FALSE(glyphmill::LookupMessage("", 503).has_value());
    EXPECT_FALSE(glyphmill::LookupMessage(root_ / "missing.xml", 503).has_value());
}

}  // namespace
