// KDXE: short command lines with quoted names. "ES" downloads a bitmap font as per-character
// records, "GM" a graphic; "EK"/"GK" delete ("*" for all); "UE"/"UG" list fonts and graphics;
// print jobs run from "N" to "P"; "^ee" asks for the status, and the directory query of the
// "^"/"~" family tells the free memory. Everything is kept in FLASH.
#include <algorithm>
#include <array>
#include <cctype>

#include "../byte_text.h"
#include "caret_family.h"

namespace emulator {
namespace {

constexpr size_t kLongestLine = 1 << 16;
constexpr Memory kMemory = Memory::Flash;

// The status reply is one error code: the lowest that applies, "00" when none does.
std::string statusReply(const PrinterState &state) {
    const std::array<std::pair<Condition, std::string_view>, 10> codes = {{
        {Condition::SyntaxError, "01"}, {Condition::MemoryFull, "04"}, {Condition::PaperOut, "07"},
        {Condition::RibbonOut, "07"},   {Condition::HeadOpen, "11"},   {Condition::Paused, "12"},
        {Condition::Busy, "50"},        {Condition::CutterError, "81"}, {Condition::SensorError, "82"},
        {Condition::PaperJam, "84"},
    }};
    for (const auto &[condition, code] : codes)
        if (state.has(condition)) return std::string(code) + "\r\n";
    return "00\r\n";
}

// "UE": the count, then one "name,size" line per font. "UG": the count, then one name per line.
std::string listReply(const Device &device, ObjectGroup group) {
    std::vector<ListedObject> objects = device.list(kMemory);
    std::erase_if(objects, [&](const ListedObject &object) { return !inGroup(object.kind, group); });
    std::string reply = std::to_string(objects.size()) + "\r\n";
    for (const ListedObject &object : objects)
        reply += group == ObjectGroup::Fonts ? object.name + "," + std::to_string(object.size) + "\r\n" : object.name + "\r\n";
    return reply;
}

Parsed waitForLine(std::string_view input) {
    return input.size() > kLongestLine ? Parsed::took(input.size()) : Parsed::wait(input.size() + 1);
}

// "ES" DQ name DQ, the record count, 0 and the cell height as single bytes, then per record
// the code, the width, the bytes per row and the glyph rows. The font is stored as the bytes
// from the count on.
Parsed fontDownload(std::string_view input, Device &device) {
    const auto name = quotedAt(input.substr(0, std::min(input.size(), kLongestLine)), 2);
    if (!name) return waitForLine(input);
    const size_t start = name->next;
    if (input.size() < start + 3) return Parsed::wait(start + 3);
    const auto count = static_cast<unsigned char>(input[start]);
    const auto height = static_cast<unsigned char>(input[start + 2]);
    size_t at = start + 3;
    for (unsigned record = 0; record < count; ++record) {
        if (input.size() < at + 3) return Parsed::wait(at + 3);
        at += 3 + size_t(static_cast<unsigned char>(input[at + 2])) * height;
    }
    if (input.size() < at) return Parsed::wait(at);
    device.store(kMemory, StoredObject{std::string(name->text), ObjectKind::BitmapFont, "", std::string(input.substr(start, at - start))});
    return Parsed::took(at);
}

// "GM" DQ name DQ size CR LF, then the file.
Parsed graphicDownload(std::string_view input, Device &device) {
    const auto line = lineAt(input);
    if (!line) return waitForLine(input);
    const auto name = quotedAt(line->text);
    const std::optional<uint64_t> size = name ? decimalValue(trimmed(line->text.substr(name->next))) : std::nullopt;
    const std::string object = name ? std::string(name->text) : std::string();
    if (!size || object.empty()) {
        device.reject(object, "the graphic header cannot be read");
        return Parsed::took(line->next);
    }
    if (*size > device.room(kMemory, object, ObjectKind::Graphic)) {
        device.reject(object, "it does not fit in " + std::string(memoryName(kMemory)));
        return Parsed::took(line->next, *size);
    }
    if (input.size() - line->next < *size) return Parsed::wait(line->next + *size);
    device.store(kMemory, StoredObject{object, ObjectKind::Graphic, "PCX", std::string(input.substr(line->next, *size))});
    return Parsed::took(line->next + *size);
}

bool isImmediate(std::string_view line) {
    return line.starts_with("EK") || line.starts_with("ES") || line.starts_with("GK") || line.starts_with("GM") ||
           line == "UE" || line == "UG" || line.starts_with("^");
}

bool endsJob(std::string_view line) {
    return line.size() > 1 && line[0] == 'P' &&
           std::all_of(line.begin() + 1, line.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// A print job from "N" to "P" and a count. "A" x,y,rotation,font,... ,DQ text DQ prints text;
// "GG" x,y,DQ name DQ prints a graphic.
Parsed printJob(std::string_view input, Device &device) {
    TestPrint print;
    ObjectGroup group = ObjectGroup::Any;
    size_t at = 0;
    while (true) {
        // "^" commands may come without a line end.
        if (at > 0 && input.substr(at + blankPrefix(input.substr(at))).starts_with("^")) return Parsed::took(lineAt(input)->next);
        const auto line = lineAt(input, at);
        if (!line) return waitForLine(input);
        const std::string_view text = trimmed(line->text);
        if (at > 0 && (isImmediate(text) || text == "N")) return Parsed::took(lineAt(input)->next);
        at = line->next;
        if (endsJob(text)) break;
        if (text.starts_with("GG")) {
            if (const auto name = quotedAt(text)) print.object = name->text;
            group = ObjectGroup::Graphics;
        } else if (text.starts_with("A")) {
            // The font is the fourth field.
            std::string_view fields = text;
            for (int i = 0; i < 3 && fields.find(',') != std::string_view::npos; ++i) fields.remove_prefix(fields.find(',') + 1);
            print.object = fields.substr(0, fields.find(','));
            if (const auto quoted = quotedAt(text)) print.text = quoted->text;
            group = ObjectGroup::Fonts;
        }
    }
    print.stream = std::string(input.substr(0, at));
    if (!print.object.empty()) print.memory = device.locate(print.object, group);
    device.printed(std::move(print));
    return Parsed::took(at);
}

class Kdxe : public Language {
public:
    std::string_view name() const override { return "KDXE"; }

    bool canReport(Condition condition) const override {
        switch (condition) {
            case Condition::SyntaxError:
            case Condition::MemoryFull:
            case Condition::PaperOut:
            case Condition::RibbonOut:
            case Condition::HeadOpen:
            case Condition::Paused:
            case Condition::Busy:
            case Condition::CutterError:
            case Condition::SensorError:
            case Condition::PaperJam: return true;
            default: return false;
        }
    }

    Parsed parse(std::string_view input, bool, Device &device) const override {
        if (const size_t blank = blankPrefix(input)) return Parsed::took(blank);
        switch (matchAt(input, "^ee")) {
            case Match::Yes:
                device.reply(statusReply(device.state()));
                return Parsed::took(3);
            case Match::Partial: return Parsed::wait(3);
            case Match::No: break;
        }
        if (input[0] == '^') {
            if (const auto format = caret::labelFormat(input)) {
                if (!format->parsed.waiting()) {
                    for (const caret::Command &command : caret::commands(format->block))
                        if (command.code == "HW") device.reply(caret::directoryReply(command.params, device, "   "));
                }
                return format->parsed;
            }
        }
        if (input.size() < 2) return Parsed::wait(2);
        if (input.starts_with("ES")) return fontDownload(input, device);
        if (input.starts_with("GM")) return graphicDownload(input, device);
        const auto line = lineAt(input);
        if (!line) return waitForLine(input);
        const std::string_view text = trimmed(line->text);
        if (text.starts_with("EK") || text.starts_with("GK")) {
            if (const auto name = quotedAt(text))
                device.remove(kMemory, name->text, text[0] == 'E' ? ObjectGroup::Fonts : ObjectGroup::Graphics);
        } else if (text == "UE" || text == "UG") {
            device.reply(listReply(device, text == "UE" ? ObjectGroup::Fonts : ObjectGroup::Graphics));
        } else if (text == "N") {
            return printJob(input, device);
        }
        return Parsed::took(line->next);
    }
};

}  // namespace

std::unique_ptr<Language> makeKdxeLanguage() { return std::make_unique<Kdxe>(); }

}  // namespace emulator
