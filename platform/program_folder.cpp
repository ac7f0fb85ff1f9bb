#include "program_folder.h"

#include <cstdlib>

namespace platform {

std::filesystem::path programFolder() {
    if (const char *override = std::getenv("KDX_APP_DIR"); override && *override)
        return std::filesystem::absolute(override);
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path();
    return std::filesystem::weakly_canonical(exe).parent_path();
}

}  // namespace platform
