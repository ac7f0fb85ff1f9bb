// What the link dialogs need from the program that opens them: its language file's texts, its
// message boxes, and taking over a confirmed printer choice.
#pragma once

#include <QString>
#include <QWidget>
#include <string>

namespace printer_link {

class LinkDialogHost {
public:
    virtual ~LinkDialogHost() = default;

    // Caption, the texts of the numbered controls and the lists ("Commbox") of the section of
    // dialogNumber, applied to dialog. Pages are marked with their own dialog number.
    virtual void applyTexts(QWidget *dialog, int dialogNumber) = 0;

    // A numbered message of the language file, over parent.
    virtual void showMessage(QWidget *parent, int messageNumber) = 0;

    // A fixed text, shown as it is.
    virtual void showText(QWidget *parent, const QString &text) = 0;

    // Makes the command language and memory type current and stores them; false when they
    // cannot be stored (the dialog then shows message 201).
    virtual bool storePrinterChoice(const std::string &language, const std::string &memory) = 0;

    // Binds the language module of language; false when it cannot be bound (message 400).
    virtual bool bindModule(const std::string &language) = 0;
};

}  // namespace printer_link
