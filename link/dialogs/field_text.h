// UTF-8 texts of the dialogs in and out of the port record's UTF-16 fields.
#pragma once

#include <string>
#include <string_view>

#include "link/port_info.h"

namespace printer_link {

template <size_t N>
std::string fieldString(const char16_t (&field)[N]) {
    return fieldUtf8(field).value_or(std::string());
}

// Stores as much of text as fits; text that is not UTF-8 empties the field.
template <size_t N>
void storeFieldString(char16_t (&field)[N], std::string_view text) {
    setFieldTextCut(field, utf16FromUtf8(text).value_or(std::u16string()));
}

}  // namespace printer_link
