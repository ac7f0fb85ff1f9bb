// KDXC: command lines beginning with "! ". Downloads are file frames ("! CISDF", name, size
// in hexadecimal, checksum, data); "! U1 DIR" lists, "! U1 DEL" deletes; labels run from
// "! 0 ..." to "PRINT"; ESC "h" ESC "i" asks for the status. Everything is kept in FLASH.
#include <algorithm>

#include "../byte_text.h"
#include "../language.h"
#include "../payload_codecs.h"

namespace emulator {
namespace {

constexpr size_t kLongestLine = 1 << 16;
constexpr Memory kMemory = Memory::Flash;

// Two status bytes of flags.
std::string statusReply(const PrinterState &state) {
    unsigned first = 0, second = 0;
    if (state.has(Condition::PrinterReset)) first |= 0x10;
    if (state.has(Condition::LowBattery)) first |= 0x08;
    if (state.has(Condition::HeadOpen)) first |= 0x04;
    if (state.has(Condition::PaperOut)) first |= 0x02;
    if (state.has(Condition::Busy)) first |= 0x01;
    if (state.has(Condition::RibbonOut)) second |= 0x80;
    if (state.has(Condition::PaperLow)) second |= 0x40;
    if (state.has(Condition::LabelWaiting)) second |= 0x20;
    if (state.has(Condition::PaperJam)) second |= 0x10;
    return {static_cast<char>(first), static_cast<char>(second)};
}

std::string upper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return result;
}

// A stored file's kind and format from its extension.
std::pair<ObjectKind, std::string> kindOf(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    const std::string extension = dot == std::string_view::npos ? "" : upper(fileName.substr(dot + 1));
    if (extension == "FNT") return {ObjectKind::BitmapFont, ""};
    if (extension == "TTF") return {ObjectKind::TrueTypeFont, ""};
    if (extension == "PCX" || extension == "BMP") return {ObjectKind::Graphic, extension};
    return {ObjectKind::DataFile, ""};
}

// The listing: one line per file with its size, a blank line and "N Bytes Free".
std::string directoryReply(const Device &device) {
    std::string reply = "\r\n";
    for (const ListedObject &object : device.list(kMemory)) {
        reply += object.name + std::string(object.name.size() < 13 ? 16 - object.name.size() : 3, ' ');
        reply += std::to_string(object.size) + "\r\n";
    }
    reply += "\r\n" + std::to_string(device.freeBytes(kMemory)) + " Bytes Free\r\n";
    return reply;
}

Parsed waitForLine(std::string_view input) {
    return input.size() > kLongestLine ? Parsed::took(input.size()) : Parsed::wait(input.size() + 1);
}

// "! CISDF", the file name, eight hex digits of size and four of checksum, each on its line,
// then the data. The checksum added to the sum of the data bytes gives 0 modulo 65,536.
Parsed fileFrame(std::string_view input, size_t afterCommand, Device &device) {
    const auto nameLine = lineAt(input, afterCommand);
    const auto sizeLine = nameLine ? lineAt(input, nameLine->next) : std::nullopt;
    const auto sumLine = sizeLine ? lineAt(input, sizeLine->next) : std::nullopt;
    if (!sumLine) return waitForLine(input);
    const std::string name(trimmed(nameLine->text));
    const std::optional<uint64_t> size = hexValue(trimmed(sizeLine->text));
    const std::optional<uint64_t> checksum = hexValue(trimmed(sumLine->text));
    const size_t start = sumLine->next;
    if (!size || !checksum || name.empty()) {
        device.reject(name, "the file frame cannot be read");
        return Parsed::took(start);
    }
    const auto [kind, format] = kindOf(name);
    if (*size > device.room(kMemory, name, kind)) {
        device.reject(name, "it does not fit in " + std::string(memoryName(kMemory)));
        return Parsed::took(start, *size);
    }
    if (input.size() - start < *size) return Parsed::wait(start + *size);
    const std::string_view data = input.substr(start, *size);
    uint32_t sum = 0;
    for (char byte : data) sum += static_cast<unsigned char>(byte);
    if (((sum + *checksum) & 0xFFFF) != 0) {
        device.reject(name, "bad checksum");
        return Parsed::took(start + *size);
    }
    if (kind == ObjectKind::BitmapFont) {
        if (const auto problem = indexedFontProblem(data)) {
            device.reject(name, *problem);
            return Parsed::took(start + *size);
        }
    }
    device.store(kMemory, StoredObject{name, kind, format, std::string(data)});
    return Parsed::took(start + *size);
}

// The rest of a line after `count` words, each ended by one space.
std::string_view afterWords(std::string_view line, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const size_t space = line.find(' ');
        if (space == std::string_view::npos) return {};
        line.remove_prefix(space + 1);
    }
    return line;
}

std::string_view firstWord(std::string_view line) { return line.substr(0, line.find(' ')); }

// A label: "! 0 ..." up to "PRINT". "PCX x y !<name" prints a graphic, "T font size x y
// text" and "ST font w h x y text" print text.
Parsed label(std::string_view input, Device &device) {
    TestPrint print;
    ObjectGroup group = ObjectGroup::Any;
    size_t at = 0;
    while (true) {
        // The status query comes without a line end.
        if (at > 0 && input.substr(at + blankPrefix(input.substr(at))).starts_with(ESC)) return Parsed::took(lineAt(input)->next);
        const auto line = lineAt(input, at);
        if (!line) return waitForLine(input);
        const std::string_view text = trimmed(line->text);
        if (at > 0 && (text.starts_with("! ") || text.starts_with(ESC))) return Parsed::took(lineAt(input)->next);
        at = line->next;
        const std::string_view command = firstWord(text);
        if (command == "PRINT") break;
        if (command == "PCX") {
            const size_t marker = text.find("!<");
            if (marker != std::string_view::npos) print.object = trimmed(text.substr(marker + 2));
            group = ObjectGroup::Graphics;
        } else if (command == "T" || command == "ST") {
            print.object = firstWord(afterWords(text, 1));
            print.text = afterWords(text, command == "T" ? 5 : 6);
            group = ObjectGroup::Fonts;
        }
    }
    print.stream = std::string(input.substr(0, at));
    if (!print.object.empty()) print.memory = device.locate(print.object, group);
    device.printed(std::move(print));
    return Parsed::took(at);
}

class Kdxc : public Language {
public:
    std::string_view name() const override { return "KDXC"; }

    bool canReport(Condition condition) const override {
        switch (condition) {
            case Condition::PrinterReset:
            case Condition::LowBattery:
            case Condition::HeadOpen:
            case Condition::PaperOut:
            case Condition::Busy:
            case Condition::RibbonOut:
            case Condition::PaperLow:
            case Condition::LabelWaiting:
            case Condition::PaperJam: return true;
            default: return false;
        }
    }

    Parsed parse(std::string_view input, bool, Device &device) const override {
        if (const size_t blank = blankPrefix(input)) return Parsed::took(blank);
        if (input[0] == ESC) {
            switch (matchAt(input, "\x1bh\x1bi")) {
                case Match::Yes:
                    device.reply(statusReply(device.state()));
                    return Parsed::took(4);
                case Match::Partial: return Parsed::wait(4);
                case Match::No: return Parsed::took(1);
            }
        }
        const auto line = lineAt(input);
        if (!line) return waitForLine(input);
        const std::string_view text = trimmed(line->text);
        if (text == "! CISDF") return fileFrame(input, line->next, device);
        if (text == "! U1 DIR") {
            device.reply(directoryReply(device));
        } else if (text.starts_with("! U1 DEL ")) {
            device.remove(kMemory, trimmed(text.substr(9)), ObjectGroup::Any);
        } else if (text.size() > 2 && text.starts_with("! ") && text[2] >= '0' && text[2] <= '9') {
            return label(input, device);
        }
        return Parsed::took(line->next);
    }
};

}  // namespace

std::unique_ptr<Language> makeKdxcLanguage() { return std::make_unique<Kdxc>(); }

}  // namespace emulator
