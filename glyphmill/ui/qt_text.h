// Conversions between the programs' wide texts and Qt's strings.
#pragma once

#include <QString>
#include <string>

namespace glyphmill {

inline QString qtText(const std::u16string &text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string wideText(const QString &text) { return text.toStdU16String(); }

}  // namespace glyphmill
