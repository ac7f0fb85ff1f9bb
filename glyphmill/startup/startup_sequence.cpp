#include "startup_sequence.h"

#include "language_file.h"

namespace glyphmill {

const char16_t *AlreadyRunningText(int systemLanguageId) {
    if (systemLanguageId == 2052) return u"程序已在运行！";
    if (systemLanguageId == 1028) return u"程序已在運行！";
    return u"The program has been running!";
}

StartupResult RunStartupSequence(const StartupEnvironment &environment, printer_link::LinkSettings &link) {
    StartupResult result;
    auto stop = [&result](int message) {
        result.failureMessage = message;
        return result;
    };

    const std::optional<int> comType = ReadComType(environment.programFolder / "XML" / "Setting.xml");
    if (!comType) return stop(kMessageBadSettings);
    link.setComType(*comType);

    result.configFile = LocateConfig(environment.configFolder, *comType, environment.systemLanguageId);
    platform::ProfileStore store(result.configFile);
    const std::optional<UiLanguage> language = ReadLanguage(store);
    if (!language) return stop(kMessageBadSettings);
    result.language = *language;
    result.languageFile = environment.programFolder / LanguageFile(*language);

    result.print = ReadPrintSetting(store);
    if (!environment.bind(result.print.cmdType)) return stop(kMessageNoModule);
    if (!link.readFrom(store)) return stop(kMessageBadSettings);

    if (environment.parameters) {
        PrinterChoice choice{result.print.cmdType, result.print.memType};
        if (!ParseCommandLine(*environment.parameters, choice, link, environment.bind))
            return stop(kMessageBadCommandLine);
        result.print.cmdType = choice.language;
        result.print.memType = choice.memoryType;
    }
    return result;
}

}  // namespace glyphmill
