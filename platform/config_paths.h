// Where each program keeps its user settings.
#pragma once

#include <filesystem>
#include <string_view>

namespace platform {

// The per-user configuration folder: $XDG_CONFIG_HOME when it is an absolute path, otherwise
// $HOME/.config (the password database's home folder when HOME is unset or relative).
std::filesystem::path userConfigFolder();

// <user configuration folder>/<program>, e.g. ~/.config/Glyphmill. Nothing is created.
std::filesystem::path programConfigFolder(std::string_view program);

// <program configuration folder>/Config.ini. Nothing is created.
std::filesystem::path configFile(std::string_view program);

}  // namespace platform
