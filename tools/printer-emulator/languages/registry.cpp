// The languages the emulator speaks. A new language is one file in this folder that defines
// its factory, and one line in the table below.

#include "../language.h"

namespace emulator {

std::unique_ptr<Language> makeKdxzLanguage();
std::unique_ptr<Language> makeKdxtLanguage();
std::unique_ptr<Language> makeKdxaLanguage();
std::unique_ptr<Language> makeKdxcLanguage();
std::unique_ptr<Language> makeKdxeLanguage();

namespace {

struct Entry {
    std::string_view name;
    std::unique_ptr<Language> (*make)();
};

constexpr Entry kLanguages[] = {
    {"KDXZ", makeKdxzLanguage}, {"KDXT", makeKdxtLanguage}, {"KDXA", makeKdxaLanguage},
    {"KDXC", makeKdxcLanguage}, {"KDXE", makeKdxeLanguage},
};

}  // namespace

std::unique_ptr<Language> makeLanguage(std::string_view name) {
    for (const Entry &entry : kLanguages)
        if (entry.name == name) return entry.make();
    return nullptr;
}

std::vector<std::string> supportedLanguages() {
    std::vector<std::string> names;
    for (const Entry &entry : kLanguages) names.emplace_back(entry.name);
    return names;
}

}  // namespace emulator
