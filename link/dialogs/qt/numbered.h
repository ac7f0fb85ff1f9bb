// Every control of the link dialogs carries the number the language files key its text by, and
// every page the number of its own dialog section, as Qt properties. A page's dialog number
// keeps the dialog's text application from descending into it.
#pragma once

#include <QObject>
#include <QVariant>
#include <QWidget>

namespace printer_link {

inline constexpr char kControlNumberProperty[] = "controlNumber";
inline constexpr char kDialogNumberProperty[] = "dialogNumber";

template <typename T>
T *numbered(T *object, int number) {
    object->setProperty(kControlNumberProperty, number);
    return object;
}

template <typename T>
T *numberedDialog(T *widget, int number) {
    widget->setProperty(kDialogNumberProperty, number);
    return widget;
}

inline int controlNumber(const QObject *object) {
    const QVariant value = object->property(kControlNumberProperty);
    return value.isValid() ? value.toInt() : 0;
}

inline int dialogNumber(const QObject *object) {
    const QVariant value = object->property(kDialogNumberProperty);
    return value.isValid() ? value.toInt() : 0;
}

// The control below root with that number, or null. Controls of nested pages count too; ask
// the page itself where numbers repeat between pages.
template <typename T = QWidget>
T *controlOf(const QObject *root, int number) {
    for (T *child : root->findChildren<T *>())
        if (controlNumber(child) == number) return child;
    return nullptr;
}

}  // namespace printer_link
