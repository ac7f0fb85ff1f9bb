// The state Glyphmill keeps for its whole run: where its files are, the interface language, the
// printer choice and the bound language module. The windows read and change it on the
// user-interface thread only; workers get copies of what they need.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app_settings.h"

namespace kdx {
class LanguageModule;
}

namespace glyphmill {

class GlyphmillSession {
public:
    static GlyphmillSession &current();

    GlyphmillSession();
    ~GlyphmillSession();
    GlyphmillSession(const GlyphmillSession &) = delete;
    GlyphmillSession &operator=(const GlyphmillSession &) = delete;

    std::filesystem::path programFolder;
    std::filesystem::path configFile;
    std::filesystem::path languageFile;  // empty until the language is known
    UiLanguage language = UiLanguage::English;
    PrintSettings print;

    // Loads the module of a command language; the module bound before stays bound when the
    // new one cannot be loaded.
    bool bindModule(const std::string &language);
    const kdx::LanguageModule *module() const { return module_.get(); }

    // Switches the interface language and its file; the caller stores the choice.
    void setLanguage(UiLanguage language);

    // The text of a message in the current language file; empty when it has none.
    std::u16string message(int number) const;

    // Back to the state at process start; for tests.
    void reset();

private:
    std::unique_ptr<kdx::LanguageModule> module_;
};

}  // namespace glyphmill
