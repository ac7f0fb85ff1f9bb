// The host's binding of one language module: <app>/DLL/<NAME>.so, its procedures looked up by
// name each time they are needed.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "kdx/module_abi.h"
#include "platform/plugin_library.h"

namespace kdx {

class LanguageModule {
public:
    // Loads DLL/<name>.so from `programFolder`; throws platform::PluginError when it cannot.
    LanguageModule(const std::filesystem::path &programFolder, const std::string &name);

    const std::string &name() const { return name_; }

    // A procedure by name, or null when the module does not export it.
    template <typename Fn>
    Fn procedure(const char *procName) const {
        return library_->procedure<Fn>(procName);
    }

    static std::filesystem::path fileFor(const std::filesystem::path &programFolder, const std::string &name);

private:
    std::string name_;
    std::unique_ptr<platform::PluginLibrary> library_;
};

}  // namespace kdx
