#include "process_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

namespace platform {

std::filesystem::path ProcessLock::folder() {
    if (const char *runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) return runtime;
    return std::filesystem::temp_directory_path();
}

ProcessLock::ProcessLock(const std::string &name, std::chrono::milliseconds wait) {
    std::string safe = name;
    for (char &c : safe)
        if (c == '/' || c == '\0') c = '_';
    const std::filesystem::path path = folder() / (safe + ".lock");
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            owns_ = true;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) return;
        if (std::chrono::steady_clock::now() >= deadline) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

ProcessLock::~ProcessLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace platform
