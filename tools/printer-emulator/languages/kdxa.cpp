// KDXA: commands introduced by SOH (status "A", download prefix "D") or STX (font "b",
// graphic "I", directory "W", delete "x", format "q", label "L"). Memory is addressed by
// module letter: "A" is RAM, "B" FLASH.
#include <algorithm>
#include <array>
#include <cctype>

#include "../byte_text.h"
#include "../image_length.h"
#include "../language.h"

namespace emulator {
namespace {

constexpr size_t kLongestLine = 1 << 16;

std::optional<Memory> moduleMemory(char letter) {
    if (letter == 'A') return Memory::Ram;
    if (letter == 'B') return Memory::Flash;
    return std::nullopt;
}

// The status reply: eight "Y"/"N" flags and CR.
std::string statusReply(const PrinterState &state) {
    const std::array<Condition, 7> flags = {Condition::BufferFull, Condition::PaperOut, Condition::RibbonOut,
                                            Condition::Batching,   Condition::Busy,     Condition::Paused,
                                            Condition::LabelMissing};
    std::string reply(8, 'N');
    for (size_t i = 0; i < flags.size(); ++i)
        if (state.has(flags[i])) reply[i] = 'Y';
    return reply + "\r";
}

// The module directory: the RAM module A, the printer's own read-only module D (always
// empty) and the FLASH module B, each with its names and "AVAILABLE: N BYTES".
std::string directoryReply(const Device &device, ObjectGroup group) {
    std::string reply;
    auto section = [&](std::string_view title, std::optional<Memory> memory) {
        reply += "MODULE " + std::string(title) + "\r\n";
        if (memory) {
            for (const ListedObject &object : device.list(*memory))
                if (inGroup(object.kind, group)) reply += object.name + "\r\n";
        }
        reply += "AVAILABLE: " + std::to_string(memory ? device.freeBytes(*memory) : 0) + " BYTES\r\n";
    };
    section("A: RAM", Memory::Ram);
    section("D: ROM", std::nullopt);
    section("B: FLASH", Memory::Flash);
    return reply;
}

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// How many character cells a font's range field announces.
std::optional<uint64_t> announcedCells(char set, std::string_view range) {
    switch (set) {
        case '0':
        case '1':
        case '6':
        case '7': return allDigits(range.substr(4)) ? decimalValue(range.substr(4)) : std::nullopt;
        case '2':
        case '5': return allDigits(range.substr(2)) ? decimalValue(range.substr(2)) : std::nullopt;
        default: return std::nullopt;
    }
}

// STX "b" module set id(2) name CR width(4) height(4) range(8), then the cells.
Parsed fontDownload(std::string_view input, Device &device) {
    const size_t cr = input.find(CR, 6);
    if (cr == std::string_view::npos) return input.size() > kLongestLine ? Parsed::took(2) : Parsed::wait(input.size() + 1);
    const size_t cells = cr + 1 + 16;
    if (input.size() < cells) return Parsed::wait(cells);
    const std::string name(input.substr(6, cr - 6));
    const std::optional<Memory> memory = moduleMemory(input[2]);
    const std::optional<uint64_t> width = decimalValue(input.substr(cr + 1, 4));
    const std::optional<uint64_t> height = decimalValue(input.substr(cr + 5, 4));
    const std::optional<uint64_t> count = announcedCells(input[3], input.substr(cr + 9, 8));
    if (!memory || !width || !height || !count || name.empty()) {
        device.reject(name, "the font header cannot be read");
        return Parsed::took(cells);
    }
    const uint64_t size = (*width + 7) / 8 * *height * *count;
    if (size > device.room(*memory, name, ObjectKind::BitmapFont)) {
        device.reject(name, "it does not fit in " + std::string(memoryName(*memory)));
        return Parsed::took(cells, size);
    }
    if (input.size() - cells < size) return Parsed::wait(cells + size);
    device.store(*memory, StoredObject{name, ObjectKind::BitmapFont, "", std::string(input.substr(cells, size))});
    return Parsed::took(cells + size);
}

// STX "I" module format name CR, then a BMP ("B") or PCX ("P") file, whose own header tells
// its length.
Parsed graphicDownload(std::string_view input, Device &device) {
    const size_t cr = input.find(CR, 4);
    if (cr == std::string_view::npos) return input.size() > kLongestLine ? Parsed::took(2) : Parsed::wait(input.size() + 1);
    const std::string name(input.substr(4, cr - 4));
    const std::optional<Memory> memory = moduleMemory(input[2]);
    const char format = input[3];
    if (!memory || name.empty() || (format != 'B' && format != 'P')) {
        device.reject(name, "the graphic header cannot be read");
        return Parsed::took(cr + 1);
    }
    const std::string_view file = input.substr(cr + 1);
    const FileLength length = format == 'B' ? bmpFileLength(file) : pcxFileLength(file);
    switch (length.status) {
        case FileLength::Status::NeedMore: return Parsed::wait(cr + 1 + length.need);
        case FileLength::Status::Invalid:
            device.reject(name, length.problem);
            return Parsed::took(cr + 1);
        case FileLength::Status::Known: break;
    }
    if (length.bytes > device.room(*memory, name, ObjectKind::Graphic)) {
        device.reject(name, "it does not fit in " + std::string(memoryName(*memory)));
        return Parsed::took(cr + 1, length.bytes);
    }
    if (file.size() < length.bytes) return Parsed::wait(cr + 1 + length.bytes);
    device.store(*memory, StoredObject{name, ObjectKind::Graphic, format == 'B' ? "BMP" : "PCX",
                                       std::string(file.substr(0, length.bytes))});
    return Parsed::took(cr + 1 + length.bytes);
}

// A label record naming a downloaded font: rotation, "9", two multipliers, the font name,
// row and column (four digits each), the text. The name is the longest stored font name that
// is followed by eight digits, or else the text before the first eight digits.
void readFontRecord(std::string_view rest, const Device &device, TestPrint &print) {
    std::vector<std::string> names = device.names(ObjectGroup::Fonts);
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) { return a.size() > b.size(); });
    for (const std::string &name : names) {
        if (rest.starts_with(name) && rest.size() >= name.size() + 8 && allDigits(rest.substr(name.size(), 8))) {
            print.object = name;
            print.text = rest.substr(name.size() + 8);
            return;
        }
    }
    for (size_t at = 1; at + 8 <= rest.size(); ++at) {
        if (allDigits(rest.substr(at, 8))) {
            print.object = rest.substr(0, at);
            print.text = rest.substr(at + 8);
            return;
        }
    }
}

// STX "L" CR, label records each ended by CR, and "E" CR.
Parsed label(std::string_view input, Device &device) {
    TestPrint print;
    ObjectGroup group = ObjectGroup::Any;
    size_t at = 2;
    while (true) {
        // Another command ends a label that never got its "E" (commands need no CR: STX "WF").
        const std::string_view rest = input.substr(at + blankPrefix(input.substr(at)));
        if (at > 2 && (rest.starts_with(SOH) || rest.starts_with(STX))) return Parsed::took(2);
        const auto line = crLineAt(input, at);
        if (!line) return input.size() > kLongestLine ? Parsed::took(2) : Parsed::wait(input.size() + 1);
        if (!line->text.empty() && (line->text[0] == SOH || line->text[0] == STX)) return Parsed::took(2);
        at = line->next;
        const std::string_view record = line->text;
        if (record == "E") break;
        if (record.size() > 4 && record[1] == '9') {
            readFontRecord(record.substr(4), device, print);
            group = ObjectGroup::Fonts;
        } else if (record.size() > 15 && record[1] == 'Y') {
            print.object = record.substr(15);
            group = ObjectGroup::Graphics;
        }
    }
    print.stream = std::string(input.substr(0, at));
    if (!print.object.empty()) print.memory = device.locate(print.object, group);
    device.printed(std::move(print));
    return Parsed::took(at);
}

// STX "x" module kind name, or STX "q" module, each ended by CR.
Parsed deleteOrFormat(std::string_view input, Device &device) {
    const auto line = crLineAt(input, 2);
    if (!line) return input.size() > kLongestLine ? Parsed::took(2) : Parsed::wait(input.size() + 1);
    const std::string_view text = line->text;
    const std::optional<Memory> memory = text.empty() ? std::nullopt : moduleMemory(text[0]);
    if (memory && input[1] == 'q') device.format(*memory);
    if (memory && input[1] == 'x' && text.size() > 2 && (text[1] == 'F' || text[1] == 'G'))
        device.remove(*memory, text.substr(2), text[1] == 'F' ? ObjectGroup::Fonts : ObjectGroup::Graphics);
    return Parsed::took(line->next);
}

class Kdxa : public Language {
public:
    std::string_view name() const override { return "KDXA"; }

    bool canReport(Condition condition) const override {
        switch (condition) {
            case Condition::BufferFull:
            case Condition::PaperOut:
            case Condition::RibbonOut:
            case Condition::Batching:
            case Condition::Busy:
            case Condition::Paused:
            case Condition::LabelMissing: return true;
            default: return false;
        }
    }

    Parsed parse(std::string_view input, bool, Device &device) const override {
        if (const size_t blank = blankPrefix(input)) return Parsed::took(blank);
        if (input[0] == SOH) {
            if (input.size() < 2) return Parsed::wait(2);
            if (input[1] == 'A') device.reply(statusReply(device.state()));
            return Parsed::took(2);  // SOH "D" only announces a download
        }
        if (input[0] != STX) {
            const size_t next = input.find_first_of(std::string_view("\x01\x02", 2));
            return Parsed::took(next == std::string_view::npos ? input.size() : next);
        }
        if (input.size() < 3) return Parsed::wait(3);
        switch (input[1]) {
            case 'b': return input.size() < 6 ? Parsed::wait(6) : fontDownload(input, device);
            case 'I': return input.size() < 4 ? Parsed::wait(4) : graphicDownload(input, device);
            case 'W':
                if (input[2] == 'F' || input[2] == 'G')
                    device.reply(directoryReply(device, input[2] == 'F' ? ObjectGroup::Fonts : ObjectGroup::Graphics));
                return Parsed::took(3);
            case 'x':
            case 'q': return deleteOrFormat(input, device);
            case 'L': return label(input, device);
            default: return Parsed::took(2);
        }
    }
};

}  // namespace

std::unique_ptr<Language> makeKdxaLanguage() { return std::make_unique<Kdxa>(); }

}  // namespace emulator
