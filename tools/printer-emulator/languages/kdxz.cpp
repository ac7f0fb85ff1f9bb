// KDXZ: "~" commands act at once (downloads, "~HS" status); "^" commands come in label formats
// from "^XA" to "^XZ" (directory listing "^HW", delete "^ID", format "^JB", test prints).
#include <array>

#include "../byte_text.h"
#include "caret_family.h"

namespace emulator {
namespace {

// The status reply: three framed lines, 82 characters, with a "1" flag at fixed positions.
std::string statusReply(const PrinterState &state) {
    std::string reply = std::string(1, STX) + "030,0,0,0800,000,0,0,0,000,0,0,0" + ETX + CRLF.data() +
                        std::string(1, STX) + "000,0,0,0,0,0,0,0,00000000,0,000" + ETX + CRLF.data() +
                        std::string(1, STX) + "0000,0" + ETX + CRLF.data();
    const std::array<std::pair<Condition, size_t>, 5> flags = {{
        {Condition::PaperOut, 5}, {Condition::Paused, 7}, {Condition::BufferFull, 18},
        {Condition::HeadOpen, 43}, {Condition::LabelWaiting, 53},
    }};
    for (const auto &[condition, position] : flags)
        if (state.has(condition)) reply[position] = '1';
    return reply;
}

// Applies the commands of one label format; a format with "^IM" or "^FD" is a print.
void runFormat(std::string_view block, Device &device) {
    bool print = false;
    std::string object, text;
    std::optional<Memory> where;
    ObjectGroup group = ObjectGroup::Any;
    for (const caret::Command &command : caret::commands(block)) {
        const std::string_view params = trimmed(command.params);
        if (command.code == "HW") {
            device.reply(caret::directoryReply(params, device, "  "));
        } else if (command.code == "ID") {
            const caret::DrivePath path = caret::splitDrive(params);
            if (path.memory) device.remove(*path.memory, path.name, ObjectGroup::Any);
        } else if (command.code == "JB") {
            if (const auto memory = params.empty() ? std::nullopt : caret::driveMemory(params[0]))
                device.format(*memory);
        } else if (command.code == "IM") {
            const caret::DrivePath path = caret::splitDrive(params);
            print = true;
            object = path.name;
            where = path.memory;
            group = ObjectGroup::Graphics;
        } else if (command.code == "CW") {
            // "^CW" letter "," drive:name assigns a stored font to a letter.
            const size_t comma = params.find(',');
            const caret::DrivePath path = caret::splitDrive(comma == std::string_view::npos ? params : params.substr(comma + 1));
            object = path.name;
            where = path.memory;
            group = ObjectGroup::Fonts;
        } else if (command.code == "FD") {
            print = true;
            text = command.params;
        }
    }
    if (!print) return;
    const std::optional<Memory> stored = object.empty() || !where ? std::nullopt : device.locate(object, group, where);
    device.printed(TestPrint{std::string(block), object, stored, text});
}

class Kdxz : public Language {
public:
    std::string_view name() const override { return "KDXZ"; }

    bool canReport(Condition condition) const override {
        switch (condition) {
            case Condition::PaperOut:
            case Condition::Paused:
            case Condition::BufferFull:
            case Condition::HeadOpen:
            case Condition::LabelWaiting: return true;
            default: return false;
        }
    }

    Parsed parse(std::string_view input, bool endOfStream, Device &device) const override {
        if (const size_t blank = blankPrefix(input)) return Parsed::took(blank);
        switch (matchAt(input, "~HS")) {
            case Match::Yes:
                device.reply(statusReply(device.state()));
                return Parsed::took(3);
            case Match::Partial: return Parsed::wait(3);
            case Match::No: break;
        }
        if (const auto download = caret::download(input, endOfStream, device)) return *download;
        if (const auto format = caret::labelFormat(input)) {
            if (!format->parsed.waiting()) runFormat(format->block, device);
            return format->parsed;
        }
        return caret::noise(input);
    }
};

}  // namespace

std::unique_ptr<Language> makeKdxzLanguage() { return std::make_unique<Kdxz>(); }

}  // namespace emulator
