// Sets an environment variable for the life of the object and restores it afterwards.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace test_support {

class ScopedEnv {
public:
    // A null value unsets the variable.
    ScopedEnv(std::string name, const char *value) : name_(std::move(name)) {
        if (const char *old = std::getenv(name_.c_str())) old_ = old;
        if (value) ::setenv(name_.c_str(), value, 1);
        else ::unsetenv(name_.c_str());
    }
    ScopedEnv(std::string name, const std::string &value) : ScopedEnv(std::move(name), value.c_str()) {}
    ~ScopedEnv() {
        if (old_) ::setenv(name_.c_str(), old_->c_str(), 1);
        else ::unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace test_support
