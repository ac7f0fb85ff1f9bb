#include "text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace kdx {
namespace {

constexpr const char *kUtf16 =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

const char *iconvNameOf(int codePage) {
    switch (codePage) {
        case 874: return "CP874";
        case 932: return "CP932";
        case 936: return "CP936";
        case 949: return "CP949";
        case 950: return "CP950";
        case 1250: return "CP1250";
        case 1251: return "CP1251";
        case 1253: return "CP1253";
        case 1254: return "CP1254";
        case 1255: return "CP1255";
        case 1256: return "CP1256";
        case 1257: return "CP1257";
        case 1258: return "CP1258";
        case 65001: return "UTF-8";
        default: return "CP1252";
    }
}

// Runs iconv over the whole input; where a sequence cannot be converted, `replacement` is
// written and `skip` input bytes are dropped, so the output always covers the whole input.
std::string convert(const char *to, const char *from, std::string_view in,
                    std::string_view replacement, size_t skip) {
    std::string out;
    if (in.empty()) return out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        cd = iconv_open(to, "CP1252");  // unknown code page: fall back to the default one
        if (cd == reinterpret_cast<iconv_t>(-1)) return out;
    }
    char *inPtr = const_cast<char *>(in.data());
    size_t inLeft = in.size();
    std::array<char, 4096> chunk;
    while (inLeft > 0) {
        char *outPtr = chunk.data();
        size_t outLeft = chunk.size();
        size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(chunk.data(), chunk.size() - outLeft);
        if (rc != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL (a truncated sequence at the end): replace and move on.
        out.append(replacement);
        size_t drop = std::min(skip, inLeft);
        inPtr += drop;
        inLeft -= drop;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    char *outPtr = chunk.data();
    size_t outLeft = chunk.size();
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(chunk.data(), chunk.size() - outLeft);
    iconv_close(cd);
    return out;
}

std::u16string toU16(const std::string &bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    return text;
}

std::string_view bytesOf(std::u16string_view text) {
    return {reinterpret_cast<const char *>(text.data()), text.size() * 2};
}

const char *localeName() {
    for (const char *name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char *value = std::getenv(name);
        if (value && *value) return value;
    }
    return "";
}

struct LocaleParts {
    std::string_view language, territory;
};

LocaleParts split(std::string_view locale) {
    size_t end = locale.find_first_of(".@");
    if (end != std::string_view::npos) locale = locale.substr(0, end);
    size_t sep = locale.find_first_of("_-");
    if (sep == std::string_view::npos) return {locale, {}};
    return {locale.substr(0, sep), locale.substr(sep + 1)};
}

bool isOneOf(std::string_view value, std::initializer_list<std::string_view> list) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

int numberFromEnv(const char *name) {
    const char *value = std::getenv(name);
    if (!value || !*value) return 0;
    char *end = nullptr;
    long number = std::strtol(value, &end, 10);
    return (end && *end == '\0' && number > 0 && number < 100000) ? static_cast<int>(number) : 0;
}

}  // namespace

int codePageForLocale(std::string_view locale) {
    auto [language, territory] = split(locale);
    if (language == "zh") return isOneOf(territory, {"TW", "HK", "MO"}) ? 950 : 936;
    if (language == "ja") return 932;
    if (language == "ko") return 949;
    if (language == "th") return 874;
    if (language == "vi") return 1258;
    if (language == "el") return 1253;
    if (isOneOf(language, {"tr", "az"})) return 1254;
    if (language == "he" || language == "iw") return 1255;
    if (isOneOf(language, {"ar", "fa", "ur"})) return 1256;
    if (isOneOf(language, {"lt", "lv", "et"})) return 1257;
    if (isOneOf(language, {"ru", "uk", "be", "bg", "mk", "sr", "kk", "ky", "tt", "mn", "ba"}))
        return locale.find("@latin") != std::string_view::npos ? 1250 : 1251;
    if (isOneOf(language, {"cs", "sk", "pl", "hu", "hr", "sl", "ro", "sq", "bs"})) return 1250;
    return 1252;
}

int languageIdForLocale(std::string_view locale) {
    auto [language, territory] = split(locale);
    if (language == "zh") {
        if (territory == "TW") return 1028;
        if (territory == "HK") return 3076;
        if (territory == "SG") return 4100;
        return 2052;
    }
    if (language == "ja") return 1041;
    if (language == "ko") return 1042;
    return 1033;
}

int ansiCodePage() {
    int fromEnv = numberFromEnv("KDX_CODEPAGE");
    return fromEnv ? fromEnv : codePageForLocale(localeName());
}

int systemLanguageId() {
    int fromEnv = numberFromEnv("KDX_LANGID");
    return fromEnv ? fromEnv : languageIdForLocale(localeName());
}

std::string toAnsi(std::u16string_view text) { return toAnsi(text, ansiCodePage()); }

std::string toAnsi(std::u16string_view text, int codePage) {
    // Plain ASCII is the same in every code page this layer knows; skip iconv for it.
    if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; }))
        return std::string(text.begin(), text.end());
    return convert(iconvNameOf(codePage), kUtf16, bytesOf(text), "?", 2);
}

std::u16string fromAnsi(std::string_view bytes) { return fromAnsi(bytes, ansiCodePage()); }

std::u16string fromAnsi(std::string_view bytes, int codePage) {
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::u16string(bytes.begin(), bytes.end());
    return toU16(convert(kUtf16, iconvNameOf(codePage), bytes, bytesOf(u"?"), 1));
}

std::string toUtf8(std::u16string_view text) {
    return convert("UTF-8", kUtf16, bytesOf(text), "\xEF\xBF\xBD", 2);
}

std::u16string fromUtf8(std::string_view bytes) {
    return toU16(convert(kUtf16, "UTF-8", bytes, bytesOf(u"\uFFFD"), 1));
}

}  // namespace kdx
