#include "glyphmill_session.h"

#include "language_file.h"
#include "language_module.h"
#include "platform/plugin_library.h"

namespace glyphmill {

GlyphmillSession &GlyphmillSession::current() {
    static GlyphmillSession session;
    return session;
}

GlyphmillSession::GlyphmillSession() = default;
GlyphmillSession::~GlyphmillSession() = default;

bool GlyphmillSession::bindModule(const std::string &language) {
    try {
        module_ = std::make_unique<kdx::LanguageModule>(programFolder, language);
        return true;
    } catch (const platform::PluginError &) {
        return false;
    }
}

void GlyphmillSession::setLanguage(UiLanguage code) {
    language = code;
    languageFile = programFolder / LanguageFile(code);
}

std::u16string GlyphmillSession::message(int number) const {
    return LookupMessage(languageFile, number).value_or(std::u16string());
}

void GlyphmillSession::reset() {
    module_.reset();
    programFolder.clear();
    configFile.clear();
    languageFile.clear();
    language = UiLanguage::English;
    print = PrintSettings{};
}

}  // namespace glyphmill
