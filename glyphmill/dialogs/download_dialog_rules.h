// The rules of the font-type and name dialogs of the file downloads, apart from any widgets.
#pragma once

#include <string>
#include <vector>

namespace glyphmill {

// The entries of the font-type list: "True Type Font" first where the language downloads
// TrueType files (KDXZ, KDXT, KDXC), then always "Bitmap Font".
std::vector<std::string> FontTypeChoices(const std::string &language);

// Whether a typed character may join the name: backspace and tab always pass; any other
// character is refused when the name's bytes in the ANSI code page, plus 1, plus 1 more for a
// character from U+0100 on, would pass `limit`.
bool AcceptsTypedCharacter(const std::u16string &name, char16_t typed, std::size_t limit = 8);

}  // namespace glyphmill
