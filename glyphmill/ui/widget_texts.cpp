#include "widget_texts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "control_number.h"
#include "glyphmill_session.h"
#include "qt_text.h"

namespace glyphmill {
namespace {

bool isNestedPage(const QWidget *widget, const QWidget *dialog) {
    return widget != dialog && widget->property(kDialogNumberProperty).isValid();
}

// The numbered controls below `parent` in child order, not descending into nested pages.
void collect(const QWidget *dialog, const QObject *parent, std::vector<QWidget *> &out) {
    for (QObject *child : parent->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (!widget || isNestedPage(widget, dialog)) continue;
        if (controlNumber(widget) != 0) out.push_back(widget);
        collect(dialog, widget, out);
    }
}

}  // namespace

void WidgetTextTarget::setCaption(const std::u16string &caption) { dialog_->setWindowTitle(qtText(caption)); }

std::vector<int> WidgetTextTarget::controlNumbers() const {
    std::vector<QWidget *> controls;
    collect(dialog_, dialog_, controls);
    std::vector<int> numbers;
    for (QWidget *widget : controls) numbers.push_back(controlNumber(widget));
    return numbers;
}

QWidget *WidgetTextTarget::control(int number) const {
    std::vector<QWidget *> controls;
    collect(dialog_, dialog_, controls);
    for (QWidget *widget : controls)
        if (controlNumber(widget) == number) return widget;
    return nullptr;
}

void WidgetTextTarget::setControlText(int number, const std::u16string &wide) {
    const QString text = qtText(wide);
    QWidget *widget = control(number);
    if (auto *label = qobject_cast<QLabel *>(widget)) label->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(widget)) button->setText(text);
    else if (auto *group = qobject_cast<QGroupBox *>(widget)) group->setTitle(text);
    else if (auto *edit = qobject_cast<QLineEdit *>(widget)) edit->setText(text);
    else if (auto *combo = qobject_cast<QComboBox *>(widget); combo && combo->isEditable()) combo->setEditText(text);
}

void WidgetTextTarget::setComboEntries(int number, const std::vector<std::u16string> &entries) {
    auto *combo = qobject_cast<QComboBox *>(control(number));
    if (!combo) return;
    combo->clear();
    for (const std::u16string &entry : entries) combo->addItem(qtText(entry));
    if (combo->count() > 0) combo->setCurrentIndex(0);
}

bool ApplyWidgetTexts(const std::filesystem::path &languageFile, QWidget *dialog, int number) {
    dialog->setProperty(kDialogNumberProperty, number);
    WidgetTextTarget target(dialog);
    return ApplyDialogTexts(languageFile, target, number);
}

bool ApplyWidgetTexts(QWidget *dialog, int number) {
    return ApplyWidgetTexts(GlyphmillSession::current().languageFile, dialog, number);
}

}  // namespace glyphmill
