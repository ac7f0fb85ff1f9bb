// A shared library loaded at run time by absolute path, and its procedures looked up by name.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace platform {

class PluginError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class PluginLibrary {
public:
    // Loads the library; throws PluginError with the loader's reason when it cannot, or when
    // the path is not absolute (a relative name would make the loader search other folders).
    explicit PluginLibrary(const std::filesystem::path &path);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary &) = delete;
    PluginLibrary &operator=(const PluginLibrary &) = delete;

    // The address of a procedure, or null when the library does not export it.
    void *find(const char *name) const;

    template <typename Fn>
    Fn procedure(const char *name) const {
        return reinterpret_cast<Fn>(find(name));
    }

    const std::filesystem::path &path() const { return path_; }

private:
    std::filesystem::path path_;
    void *handle_ = nullptr;
};

}  // namespace platform
