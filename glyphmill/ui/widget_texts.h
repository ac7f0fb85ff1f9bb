// Applies a dialog section of the language file to a Qt dialog or page: the window title and
// the texts and lists of its numbered controls. A nested page with a dialog number of its own
// is left to its own section.
#pragma once

#include <QWidget>
#include <filesystem>

#include "language_file.h"

namespace glyphmill {

class WidgetTextTarget : public DialogTextTarget {
public:
    explicit WidgetTextTarget(QWidget *dialog) : dialog_(dialog) {}

    void setCaption(const std::u16string &caption) override;
    std::vector<int> controlNumbers() const override;
    void setControlText(int control, const std::u16string &text) override;
    void setComboEntries(int control, const std::vector<std::u16string> &entries) override;

private:
    QWidget *control(int number) const;
    QWidget *dialog_;
};

// Marks a widget as dialog `number` and applies its section from the session's language file.
bool ApplyWidgetTexts(QWidget *dialog, int number);
bool ApplyWidgetTexts(const std::filesystem::path &languageFile, QWidget *dialog, int number);

}  // namespace glyphmill
