// A lock held by one process at a time, named like a system-wide mutex: a file in
// $XDG_RUNTIME_DIR (or the temp folder) locked with flock. The lock ends with the process.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace platform {

class ProcessLock {
public:
    // Tries to take the lock `name` at once (wait 0) or within `wait`; owns() tells.
    explicit ProcessLock(const std::string &name, std::chrono::milliseconds wait = std::chrono::milliseconds(0));
    ~ProcessLock();
    ProcessLock(const ProcessLock &) = delete;
    ProcessLock &operator=(const ProcessLock &) = delete;

    bool owns() const { return owns_; }

    static std::filesystem::path folder();

private:
    int fd_ = -1;
    bool owns_ = false;
};

}  // namespace platform
