// glyphmill: the desktop program. One instance at a time; the start-up sequence runs before
// the window opens and ends the program with its numbered message when something is wrong.
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <cstdio>

#include "glyphmill_session.h"
#include "link/link_settings.h"
#include "main_window.h"
#include "platform/config_paths.h"
#include "platform/process_lock.h"
#include "platform/program_folder.h"
#include "qt_text.h"
#include "startup_sequence.h"
#include "text_codec.h"
#include "user_prompts.h"

namespace {

// Another program starts Glyphmill with the parameter list as its arguments; a list split
// at blanks by the shell is joined again.
std::optional<std::u16string> parameterList(const QStringList &arguments) {
    if (arguments.size() < 2) return std::nullopt;
    return arguments.mid(1).join(QLatin1Char(' ')).toStdU16String();
}

}  // namespace

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Glyphmill"));
    QApplication::setDesktopFileName(QStringLiteral("glyphmill"));

    const int systemLanguage = kdx::systemLanguageId();
    platform::ProcessLock instance("Glyphmill");
    if (!instance.owns()) {
        QMessageBox::information(nullptr, QStringLiteral("Glyphmill"),
                                 glyphmill::qtText(glyphmill::AlreadyRunningText(systemLanguage)));
        return 0;
    }

    glyphmill::GlyphmillSession &session = glyphmill::GlyphmillSession::current();
    session.programFolder = platform::programFolder();
    glyphmill::StartupEnvironment environment;
    environment.programFolder = session.programFolder;
    environment.configFolder = platform::programConfigFolder("Glyphmill");
    environment.systemLanguageId = systemLanguage;
    environment.parameters = parameterList(QApplication::arguments());
    environment.bind = [&session](const std::string &language) { return session.bindModule(language); };

    const glyphmill::StartupResult start = glyphmill::RunStartupSequence(environment, printer_link::LinkSettings::current());
    session.configFile = start.configFile;
    session.languageFile = start.languageFile;
    session.language = start.language;
    session.print = start.print;
    if (!start.ok()) {
        std::fprintf(stderr, "glyphmill: the start failed with message %d\n", start.failureMessage);
        glyphmill::ShowMessage(nullptr, start.failureMessage);
        return 0;
    }

    glyphmill::MainWindow window;
    window.show();
    return QApplication::exec();
}
