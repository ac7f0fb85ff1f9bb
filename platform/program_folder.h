// The folder of the running executable, where the program's data and plug-ins live.
#pragma once

#include <filesystem>

namespace platform {

// The folder of /proc/self/exe with links resolved. Tests may point it elsewhere with
// KDX_APP_DIR, so a test binary outside the program folder finds the built modules.
std::filesystem::path programFolder();

}  // namespace platform
