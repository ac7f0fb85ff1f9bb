// What the tests expect of each language: the memories and query kinds its module takes,
// the names the printer lists downloads under, and the record types the module reads.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "printer_emulator.h"

namespace emulator_test {

struct LanguageTraits {
    std::string language;
    std::vector<uint8_t> selectors;  // memory selectors the queries take
    std::vector<uint8_t> kinds;      // file query kinds
    std::string fontName;            // a font name the language allows
    bool extensions;                 // listed names carry an extension
    std::string fontExtension;       // of a downloaded bitmap font
    bool listsSizes;                 // the file list gives sizes
    std::string bitmapFontType;      // record type of a listed bitmap font
    std::string trueTypeType;        // record type of a listed TrueType font; empty: none
    uint64_t sampleFontBytes;        // what the printer stores of the sample font

    // Where a download with that selector goes.
    emulator::Memory memory(uint8_t selector) const;
    std::string memoryText(uint8_t selector) const;
    std::string graphicName(const std::string &name, const std::string &format) const;
    std::string fontFileName(const std::string &name) const;
    std::string trueTypeName(const std::string &name) const;
};

const std::vector<LanguageTraits> &allLanguages();

// For parameterised test names and messages.
std::string languageName(const LanguageTraits &traits);
inline void PrintTo(const LanguageTraits &traits, std::ostream *out) { *out << traits.language; }

}  // namespace emulator_test
