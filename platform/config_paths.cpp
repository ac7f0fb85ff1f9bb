#include "config_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace platform {
namespace {

std::filesystem::path homeFolder() {
    if (const char *home = std::getenv("HOME"); home && *home == '/') return home;
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
    passwd entry {};
    passwd *found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && *found->pw_dir)
        return found->pw_dir;
    return std::filesystem::temp_directory_path();
}

}  // namespace

std::filesystem::path userConfigFolder() {
    // The base-directory convention ignores relative values.
    if (const char *config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') return config;
    return homeFolder() / ".config";
}

std::filesystem::path programConfigFolder(std::string_view program) {
    return userConfigFolder() / std::string(program);
}

std::filesystem::path configFile(std::string_view program) {
    return programConfigFolder(program) / "Config.ini";
}

}  // namespace platform
