// Conversions between the UTF-16 text that commands are composed in and the bytes a printer
// exchanges: the ANSI code page of the user's locale, and UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kdx {

// The Windows code page number that stands for the user's "ANSI" code page: KDX_CODEPAGE when
// set, otherwise derived from LC_ALL, LC_CTYPE or LANG (1252 when nothing else applies).
int ansiCodePage();

// The Windows language identifier of the system: KDX_LANGID when set, otherwise derived from
// the same locale variables (1033 when nothing else applies).
int systemLanguageId();

// The code page a locale name such as "zh_CN.UTF-8" stands for; exposed for tests.
int codePageForLocale(std::string_view locale);
int languageIdForLocale(std::string_view locale);

// UTF-16 to the ANSI code page; a character the code page cannot hold becomes "?".
std::string toAnsi(std::u16string_view text);
std::string toAnsi(std::u16string_view text, int codePage);

// ANSI code page to UTF-16; a byte sequence that does not decode becomes "?".
std::u16string fromAnsi(std::string_view bytes);
std::u16string fromAnsi(std::string_view bytes, int codePage);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);

// UTF-8 to UTF-16; an invalid sequence becomes U+FFFD.
std::u16string fromUtf8(std::string_view bytes);

}  // namespace kdx
