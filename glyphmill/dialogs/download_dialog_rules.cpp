#include "download_dialog_rules.h"

#include "text_codec.h"

namespace glyphmill {

std::vector<std::string> FontTypeChoices(const std::string &language) {
    if (language == "KDXZ" || language == "KDXT" || language == "KDXC") return {"True Type Font", "Bitmap Font"};
    return {"Bitmap Font"};
}

bool AcceptsTypedCharacter(const std::u16string &name, char16_t typed, std::size_t limit) {
    if (typed == u'\b' || typed == u'\t') return true;
    const std::size_t bytes = kdx::toAnsi(name).size() + 1 + (typed >= 0x100 ? 1 : 0);
    return bytes <= limit;
}

}  // namespace glyphmill
