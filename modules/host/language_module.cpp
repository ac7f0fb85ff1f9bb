#include "language_module.h"

namespace kdx {

LanguageModule::LanguageModule(const std::filesystem::path &programFolder, const std::string &name)
    : name_(name), library_(std::make_unique<platform::PluginLibrary>(fileFor(programFolder, name))) {}

std::filesystem::path LanguageModule::fileFor(const std::filesystem::path &programFolder, const std::string &name) {
    return programFolder / "DLL" / (name + ".so");
}

}  // namespace kdx
