// Every control of a dialog carries the number the language files key its text by, and every
// menu action the command number it runs, as a Qt property.
#pragma once

#include <QObject>
#include <QVariant>

namespace glyphmill {

inline constexpr char kControlNumberProperty[] = "controlNumber";
inline constexpr char kDialogNumberProperty[] = "dialogNumber";

template <typename T>
T *numbered(T *object, int number) {
    object->setProperty(kControlNumberProperty, number);
    return object;
}

inline int controlNumber(const QObject *object) {
    const QVariant value = object->property(kControlNumberProperty);
    return value.isValid() ? value.toInt() : 0;
}

// The control of a dialog with that number, or null.
template <typename T = QWidget>
T *controlOf(const QObject *dialog, int number) {
    for (T *child : dialog->findChildren<T *>())
        if (controlNumber(child) == number) return child;
    return nullptr;
}

}  // namespace glyphmill
