#include "user_prompts.h"

#include <QFileDialog>
#include <QMessageBox>

#include "glyphmill_session.h"
#include "qt_text.h"

namespace glyphmill {
namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::Warning: return QMessageBox::Warning;
        case MessageIcon::Question: return QMessageBox::Question;
        case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

class DesktopPrompts : public UserPrompts {
public:
    void showMessage(QWidget *parent, int number, const QString &text, MessageIcon icon) override {
        // Before a language file is chosen a message has no text; its number still tells what
        // went wrong.
        const QString title = text.isEmpty() ? QStringLiteral("Glyphmill (%1)").arg(number) : QStringLiteral("Glyphmill");
        QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parent);
        box.exec();
    }

    bool askYesNo(QWidget *parent, int, const QString &text) override {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Glyphmill"), text, QMessageBox::Yes | QMessageBox::No,
                        parent);
        return box.exec() != QMessageBox::No;
    }

    QString openFile(QWidget *parent, const QString &title, const QString &filter) override {
        return QFileDialog::getOpenFileName(parent, title, QString(), filter);
    }

    void showText(QWidget *parent, const QString &text) override {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Glyphmill"), text, QMessageBox::Ok, parent);
        box.exec();
    }
};

DesktopPrompts desktopPrompts;
UserPrompts *installed = nullptr;

}  // namespace

UserPrompts &UserPrompts::current() { return installed ? *installed : desktopPrompts; }

UserPrompts *UserPrompts::install(UserPrompts *prompts) {
    UserPrompts *before = installed;
    installed = prompts;
    return before;
}

void ShowMessage(QWidget *parent, int number, MessageIcon icon) {
    UserPrompts::current().showMessage(parent, number, qtText(GlyphmillSession::current().message(number)), icon);
}

bool AskYesNo(QWidget *parent, int number) {
    return UserPrompts::current().askYesNo(parent, number, qtText(GlyphmillSession::current().message(number)));
}

}  // namespace glyphmill
