// The plain prompts of Glyphmill: numbered message boxes, yes/no questions and the open-file
// dialog. Windows reach them through UserPrompts::current(), which shows real boxes; a test
// installs its own prompts to answer them and to see what was asked.
#pragma once

#include <QString>

class QWidget;

namespace glyphmill {

enum class MessageIcon { None, Information, Warning, Question };

class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // Shows message `number` (text from the language file) with an OK button.
    virtual void showMessage(QWidget *parent, int number, const QString &text, MessageIcon icon) = 0;

    // Asks message `number` with Yes and No buttons; true unless the answer is No.
    virtual bool askYesNo(QWidget *parent, int number, const QString &text) = 0;

    // The open-file dialog with a Qt name filter; an empty text when cancelled.
    virtual QString openFile(QWidget *parent, const QString &title, const QString &filter) = 0;

    // A fixed text that is not a numbered message.
    virtual void showText(QWidget *parent, const QString &text) = 0;

    static UserPrompts &current();
    // Installs other prompts (null restores the real ones); returns the ones before.
    static UserPrompts *install(UserPrompts *prompts);
};

// Message `number` of the session's language file.
void ShowMessage(QWidget *parent, int number, MessageIcon icon = MessageIcon::None);
bool AskYesNo(QWidget *parent, int number);

}  // namespace glyphmill
