#include "platform/profile_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

class ProfileStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kdx-profile-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        file_ = folder_ / "Config.ini";
    }
    void TearDown() override { fs::remove_all(folder_); }

    void put(const std::string &text) { std::ofstream(file_, std::ios::binary) << text; }
    std::string content() const {
        std::ifstream in(file_, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path folder_, file_;
};

TEST_F(ProfileStoreTest, MissingFileGivesTheDefault) {
    platform::ProfileStore store(file_);
    EXPECT_EQ(store.read("Printer", "CmdType", "KDXZ"), "KDXZ");
    EXPECT_FALSE(store.find("Printer", "CmdType"));
    EXPECT_FALSE(fs::exists(file_)) << "reading must not create the file";
}

TEST_F(ProfileStoreTest, MissingSectionOrKeyGivesTheDefault) {
    put("[Printer]\nCmdType=KDXT\n");
    platform::ProfileStore store(file_);
    EXPECT_EQ(store.read("Printer", "MemType", "FLASH"), "FLASH");
    EXPECT_EQ(store.read("Language", "CmdType", "none"), "none");
}

TEST_F(ProfileStoreTest, PresentEmptyValueIsNotMissing) {
    put("[Communication]\nPortType=\n");
    platform::ProfileStore store(file_);
    EXPECT_EQ(store.read("Communication", "PortType", "1"), "");
}

TEST_F(ProfileStoreTest, LookupIgnoresLetterCaseAndSpaces) {
    put("[ Communication ]\n  portTYPE =  7  \n");
    platform::ProfileStore store(file_);
    EXPECT_EQ(store.read("COMMUNICATION", "PortType", "1"), "7");
    EXPECT_EQ(store.read("communication", "porttype", "1"), "7");
}

TEST_F(ProfileStoreTest, ReadingFollowsTheIniConventions) {
    struct Case {
        const char *text;
        const char *expected;
    } cases[] = {
        {"[S]\nK=\"quoted value\"\n", "quoted value"},
        {"[S]\nK='single'\n", "single"},
        {"[S]\nK=\"unbalanced\n", "\"unbalanced"},
        {"[S]\r\nK=crlf\r\n", "crlf"},
        {"\xEF\xBB\xBF[S]\nK=after bom\n", "after bom"},
        {"[S]\n;K=comment\nK=real\n", "real"},
        {"[S]\nK=first\nK=second\n", "first"},
        {"[S]\nK=a=b\n", "a=b"},
        {"[S]\nK=1\n[S]\nK=2\n", "1"},
        {"[Other]\nK=x\n[S]\nJ=y\n[Third]\nK=z\n", "fallback"},
        {"[S]\nK=Glyphmill \xE4\xB8\xAD\xE6\x96\x87\n", "Glyphmill \xE4\xB8\xAD\xE6\x96\x87"},
    };
    for (const Case &c : cases) {
        put(c.text);
        EXPECT_EQ(platform::ProfileStore(file_).read("S", "K", "fallback"), c.expected) << c.text;
    }
}

TEST_F(ProfileStoreTest, WritingCreatesFileSectionAndKey) {
    platform::ProfileStore store(file_);
    ASSERT_TRUE(store.write("Printer", "CmdType", "KDXZ"));
    EXPECT_EQ(content(), "[Printer]\nCmdType=KDXZ\n");
    ASSERT_TRUE(store.write("Printer", "MemType", "FLASH"));
    ASSERT_TRUE(store.write("Language", "CurLanguage", "English"));
    EXPECT_EQ(content(), "[Printer]\nCmdType=KDXZ\nMemType=FLASH\n[Language]\nCurLanguage=English\n");
    EXPECT_EQ(store.read("printer", "memtype", ""), "FLASH");
}

TEST_F(ProfileStoreTest, WritingKeepsEveryOtherLine) {
    const std::string before =
        "; settings\r\n"
        "[Language]\r\n"
        "CurLanguage = English\r\n"
        "\r\n"
        "[Communication]\r\n"
        "  portType=1\r\n"
        "BaudRate=9600\r\n"
        "odd line without equals\r\n"
        "\r\n"
        "[Printer]\r\n"
        "CmdType=KDXA";
    put(before);
    platform::ProfileStore store(file_);
    ASSERT_TRUE(store.write("COMMUNICATION", "PortType", "7"));
    ASSERT_TRUE(store.write("Communication", "FlowControl", "3"));
    ASSERT_TRUE(store.write("Printer", "MemType", "RAM"));
    EXPECT_EQ(content(),
              "; settings\r\n"
              "[Language]\r\n"
              "CurLanguage = English\r\n"
              "\r\n"
              "[Communication]\r\n"
              "  portType=7\r\n"
              "BaudRate=9600\r\n"
              "FlowControl=3\r\n"
              "odd line without equals\r\n"
              "\r\n"
              "[Printer]\r\n"
              "CmdType=KDXA\r\n"
              "MemType=RAM\r\n");
}

TEST_F(ProfileStoreTest, WriteReplacesTheFileAndLeavesNoTemporaryFile) {
    put("[S]\nK=old\n");
    fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write);
    platform::ProfileStore store(file_);
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(store.write("S", "K", "value " + std::to_string(i)));
    EXPECT_EQ(store.read("S", "K", ""), "value 19");
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"Config.ini"});
    EXPECT_EQ(fs::status(file_).permissions(), fs::perms::owner_read | fs::perms::owner_write)
        << "a rewrite keeps the file's permissions";
}

TEST_F(ProfileStoreTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
    platform::ProfileStore missingFolder(folder_ / "absent" / "Config.ini");
    EXPECT_FALSE(missingFolder.write("S", "K", "v"));
    put("[S]\nK=old\n");
    platform::ProfileStore store(file_);
    EXPECT_FALSE(store.write("S", "K", "two\nlines"));
    EXPECT_FALSE(store.write("S", "", "v"));
    EXPECT_FALSE(store.write("", "K", "v"));
    EXPECT_FALSE(store.write("S]", "K", "v"));
    EXPECT_FALSE(store.write("S", "K=1", "v"));
    EXPECT_EQ(content(), "[S]\nK=old\n");
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"Config.ini"});
}

TEST_F(ProfileStoreTest, ConcurrentWritersLoseNoKey) {
    platform::ProfileStore store(file_);
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([&store, t] {
            for (int i = 0; i < 10; ++i) store.write("S", "K" + std::to_string(t * 10 + i), std::to_string(i));
        });
    for (std::thread &writer : writers) writer.join();
    for (int k = 0; k < 40; ++k) EXPECT_EQ(store.read("S", "K" + std::to_string(k), "missing"), std::to_string(k % 10));
}

}  // namespace
