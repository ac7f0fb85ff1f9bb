#include "platform/config_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// Sets or unsets an environment variable for one test.
class ScopedVariable {
public:
    ScopedVariable(const char *name, const char *value) : name_(name) {
        if (const char *old = std::getenv(name)) old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char *name_;
    std::optional<std::string> old_;
};

TEST(ConfigPaths, XdgConfigHomeWins) {
    ScopedVariable config("XDG_CONFIG_HOME", "/srv/settings");
    ScopedVariable home("HOME", "/home/someone");
    EXPECT_EQ(platform::configFile("Glyphmill"), "/srv/settings/Glyphmill/Config.ini");
    EXPECT_EQ(platform::programConfigFolder("Beaconry"), "/srv/settings/Beaconry");
}

TEST(ConfigPaths, DefaultIsDotConfigInHome) {
    ScopedVariable config("XDG_CONFIG_HOME", nullptr);
    ScopedVariable home("HOME", "/home/someone");
    EXPECT_EQ(platform::configFile("Glyphmill"), "/home/someone/.config/Glyphmill/Config.ini");
}

TEST(ConfigPaths, RelativeOrEmptyXdgConfigHomeIsIgnored) {
    ScopedVariable home("HOME", "/home/someone");
    for (const char *value : {"", "relative/dir"}) {
        ScopedVariable config("XDG_CONFIG_HOME", value);
        EXPECT_EQ(platform::userConfigFolder(), "/home/someone/.config") << value;
    }
}

TEST(ConfigPaths, WithoutHomeThePasswordDatabaseAnswers) {
    ScopedVariable config("XDG_CONFIG_HOME", nullptr);
    ScopedVariable home("HOME", nullptr);
    std::filesystem::path folder = platform::userConfigFolder();
    EXPECT_TRUE(folder.is_absolute());
    EXPECT_EQ(folder.filename(), ".config");
}

}  // namespace
