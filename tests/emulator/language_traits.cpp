#include "language_traits.h"

namespace emulator_test {

emulator::Memory LanguageTraits::memory(uint8_t selector) const {
    // Printers of the languages whose queries take FLASH only keep everything there.
    if (selectors.size() == 1) return emulator::Memory::Flash;
    return selector == 0 ? emulator::Memory::Ram : emulator::Memory::Flash;
}

std::string LanguageTraits::memoryText(uint8_t selector) const {
    return memory(selector) == emulator::Memory::Ram ? "RAM" : "FLASH";
}

std::string LanguageTraits::graphicName(const std::string &name, const std::string &format) const {
    return extensions ? name + "." + format : name;
}

std::string LanguageTraits::fontFileName(const std::string &name) const { return name + fontExtension; }

std::string LanguageTraits::trueTypeName(const std::string &name) const { return extensions ? name + ".TTF" : name; }

const std::vector<LanguageTraits> &allLanguages() {
    // The sample font (three 8 x 8 glyphs): an indexed payload of 56 + 8 + 3 * 4 + 24 = 100
    // bytes; 3 cells of 8 bytes; or the count, 0 and height bytes and 3 records of 3 + 8.
    static const std::vector<LanguageTraits> languages = {
        {"KDXZ", {0, 1}, {0}, "FONT", true, ".TTF", true, "Font", "Font", 100},
        {"KDXT", {0, 1}, {0}, "FONT", true, ".TTF", true, "Font", "Font", 100},
        {"KDXA", {0, 1}, {1, 2}, "A00", false, "", false, "Bitmap Font", "", 24},
        {"KDXC", {1}, {0}, "FONT", true, ".FNT", true, "Bitmap Font", "True Type Font", 100},
        {"KDXE", {1}, {1, 2}, "a", false, "", false, "Bitmap Font", "", 36},
    };
    return languages;
}

std::string languageName(const LanguageTraits &traits) { return traits.language; }

}  // namespace emulator_test
