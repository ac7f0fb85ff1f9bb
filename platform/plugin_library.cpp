#include "plugin_library.h"

#include <dlfcn.h>

namespace platform {

PluginLibrary::PluginLibrary(const std::filesystem::path &path) : path_(path) {
    if (!path.is_absolute()) throw PluginError("not an absolute path: " + path.string());
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char *reason = dlerror();
        throw PluginError(reason ? reason : ("cannot load " + path.string()));
    }
}

PluginLibrary::~PluginLibrary() {
    if (handle_) dlclose(handle_);
}

void *PluginLibrary::find(const char *name) const {
    dlerror();
    return dlsym(handle_, name);
}

}  // namespace platform
