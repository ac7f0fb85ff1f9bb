// The start of Glyphmill from its files and its command line, without a display.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <vector>

#include "platform/process_lock.h"
#include "startup_sequence.h"

namespace fs = std::filesystem;

namespace {

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("glyphmill-startup-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "app" / "XML");
        setting("<ComType><Type>1</Type></ComType>");
        environment_.programFolder = root_ / "app";
        environment_.configFolder = root_ / "config" / "Glyphmill";
        environment_.bind = [this](const std::string &language) {
            bound_.push_back(language);
            return language != "KDXE";  // stands for a module that cannot be loaded
        };
    }
    void TearDown() override { fs::remove_all(root_); }

    void setting(const std::string &xml) { std::ofstream(root_ / "app" / "XML" / "Setting.xml") << xml; }
    void config(const std::string &ini) {
        fs::create_directories(environment_.configFolder);
        std::ofstream(environment_.configFolder / "Config.ini") << ini;
    }
    glyphmill::StartupResult start() { return glyphmill::RunStartupSequence(environment_, link_); }

    fs::path root_;
    glyphmill::StartupEnvironment environment_;
    printer_link::LinkSettings link_;
    std::vector<std::string> bound_;
};

TEST_F(Startup, FirstStartCreatesTheSettingsAndBindsKdxz) {
    environment_.systemLanguageId = 2052;
    const auto result = start();
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.language, glyphmill::UiLanguage::SimplifiedChinese);
    EXPECT_EQ(result.languageFile, root_ / "app" / "XML" / "SimpifiedChinese.xml");
    EXPECT_TRUE(fs::exists(result.configFile));
    EXPECT_EQ(bound_, std::vector<std::string>{"KDXZ"});
    EXPECT_EQ(link_.port().PortType, printer_link::kSerialPort);
    EXPECT_FALSE(link_.startedWithParameters());
}

TEST_F(Startup, ParameterListConnectsAndSelectsFlash) {
    config("[Printer]\nCmdType=KDXT\nMemType=RAM\n");
    environment_.parameters = u"KDXZ,NET,127.0.0.1,9100";
    const auto result = start();
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.print.cmdType, "KDXZ");
    EXPECT_EQ(result.print.memType, "FLASH");
    EXPECT_EQ(bound_, (std::vector<std::string>{"KDXT", "KDXZ"}));
    EXPECT_EQ(link_.port().PortType, printer_link::kNetworkPrinter);
    EXPECT_TRUE(link_.startedWithParameters());
}

TEST_F(Startup, EachFailureEndsWithItsMessage) {
    struct Case {
        const char *name;
        std::string settingXml, configIni;
        std::optional<std::u16string> parameters;
        int message;
    };
    const Case cases[] = {
        {"no ComType", "<Other/>", "", std::nullopt, 200},
        {"ComType without Type", "<ComType/>", "", std::nullopt, 200},
        {"unknown language", "<ComType><Type>1</Type></ComType>", "[Language]\nCurLanguage=SimplifiedChinese\n",
         std::nullopt, 200},
        {"module missing", "<ComType><Type>1</Type></ComType>", "[Printer]\nCmdType=KDXE\n", std::nullopt, 400},
        {"bad port kind", "<ComType><Type>1</Type></ComType>", "[Communication]\nPortType=8\n", std::nullopt, 200},
        {"bad command line", "<ComType><Type>1</Type></ComType>", "", u"KDXZ,FOO,1", 612},
        {"empty command line", "<ComType><Type>1</Type></ComType>", "", u"", 612},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(environment_.configFolder);
        setting(c.settingXml);
        if (!c.configIni.empty()) config(c.configIni);
        environment_.parameters = c.parameters;
        EXPECT_EQ(start().failureMessage, c.message);
    }
    fs::remove(root_ / "app" / "XML" / "Setting.xml");
    EXPECT_EQ(start().failureMessage, 200);
}

TEST(SingleInstance, SecondHolderIsRefusedUntilTheFirstEnds) {
    const std::string name = "glyphmill-test-" + std::to_string(::getpid());
    {
        platform::ProcessLock first(name);
        ASSERT_TRUE(first.owns());
        platform::ProcessLock second(name);
        EXPECT_FALSE(second.owns());
    }
    platform::ProcessLock again(name);
    EXPECT_TRUE(again.owns());
    EXPECT_EQ(std::u16string(glyphmill::AlreadyRunningText(1041)), u"The program has been running!");
    EXPECT_EQ(std::u16string(glyphmill::AlreadyRunningText(1028)), u"程序已在運行！");
}

}  // namespace
