// KDXT: the downloads and directory query of the "^"/"~" family, plus plain command lines:
// "KILL" deletes, print jobs from their first line to "PRINT", and ESC "!?" for the status.
#include "../byte_text.h"
#include "caret_family.h"

namespace emulator {
namespace {

constexpr size_t kLongestLine = 1 << 16;

// The status is one byte of flags.
char statusByte(const PrinterState &state) {
    unsigned flags = 0;
    if (state.has(Condition::HeadOpen)) flags |= 0x01;
    if (state.has(Condition::PaperJam)) flags |= 0x02;
    if (state.has(Condition::PaperOut)) flags |= 0x04;
    if (state.has(Condition::RibbonOut)) flags |= 0x08;
    if (state.has(Condition::Paused)) flags |= 0x10;
    if (state.has(Condition::Busy)) flags |= 0x20;
    if (state.has(Condition::OtherError)) flags |= 0x80;
    return static_cast<char>(flags);
}

// Lines that act at once rather than belong to a print job.
bool isImmediate(std::string_view line) {
    return line.starts_with("KILL") || line.starts_with("~") || line.starts_with("^") || line.starts_with(ESC);
}

// "KILL " (RAM) or "KILL F," (FLASH) and a quoted name or pattern.
void kill(std::string_view line, Device &device) {
    std::string_view rest = trimmed(line.substr(4));
    Memory memory = Memory::Ram;
    if (rest.starts_with("F,")) {
        memory = Memory::Flash;
        rest.remove_prefix(2);
    }
    const auto quoted = quotedAt(rest);
    const std::string_view pattern = quoted ? quoted->text : trimmed(rest);
    if (!pattern.empty()) device.remove(memory, pattern, ObjectGroup::Any);
}

// What a job line names: TEXT x,y,"font",... ,"text" or PUTBMP/PUTPCX x,y,"graphic".
void readJobLine(std::string_view line, TestPrint &print, ObjectGroup &group) {
    if (line.starts_with("TEXT")) {
        if (const auto font = quotedAt(line)) {
            print.object = font->text;
            group = ObjectGroup::Fonts;
            // The test text is the last quoted field.
            const size_t close = line.rfind('"');
            const size_t open = close > font->next ? line.rfind('"', close - 1) : std::string_view::npos;
            if (open != std::string_view::npos && open >= font->next) print.text = line.substr(open + 1, close - open - 1);
        }
    } else if (line.starts_with("PUT")) {
        if (const auto graphic = quotedAt(line)) {
            print.object = graphic->text;
            group = ObjectGroup::Graphics;
        }
    }
}

// A print job: lines up to and including "PRINT". A line that acts at once before "PRINT"
// means the lines so far were no job; the first of them is then skipped.
Parsed printJob(std::string_view input, Device &device) {
    TestPrint print;
    ObjectGroup group = ObjectGroup::Any;
    size_t at = 0;
    while (true) {
        // A command that acts at once may come without a line end ("^XA...^XZ").
        if (at > 0 && isImmediate(input.substr(at + blankPrefix(input.substr(at))))) return Parsed::took(lineAt(input)->next);
        const auto line = lineAt(input, at);
        if (!line) return input.size() > kLongestLine ? Parsed::took(input.size()) : Parsed::wait(input.size() + 1);
        const std::string_view text = trimmed(line->text);
        readJobLine(text, print, group);
        at = line->next;
        if (text.starts_with("PRINT")) break;
    }
    print.stream = std::string(input.substr(0, at));
    if (!print.object.empty()) print.memory = device.locate(print.object, group);
    device.printed(std::move(print));
    return Parsed::took(at);
}

class Kdxt : public Language {
public:
    std::string_view name() const override { return "KDXT"; }

    bool canReport(Condition condition) const override {
        switch (condition) {
            case Condition::HeadOpen:
            case Condition::PaperJam:
            case Condition::PaperOut:
            case Condition::RibbonOut:
            case Condition::Paused:
            case Condition::Busy:
            case Condition::OtherError: return true;
            default: return false;
        }
    }

    Parsed parse(std::string_view input, bool endOfStream, Device &device) const override {
        if (const size_t blank = blankPrefix(input)) return Parsed::took(blank);
        if (input[0] == ESC) {
            switch (matchAt(input, "\x1b!?")) {
                case Match::Yes:
                    device.reply(std::string(1, statusByte(device.state())));
                    return Parsed::took(3);
                case Match::Partial: return Parsed::wait(3);
                case Match::No: return Parsed::took(1);
            }
        }
        if (input[0] == '~') {
            if (const auto download = caret::download(input, endOfStream, device)) return *download;
            return skipLine(input);
        }
        if (input[0] == '^') {
            if (const auto format = caret::labelFormat(input)) {
                if (!format->parsed.waiting()) {
                    for (const caret::Command &command : caret::commands(format->block))
                        if (command.code == "HW") device.reply(caret::directoryReply(command.params, device, "  "));
                }
                return format->parsed;
            }
            return skipLine(input);
        }
        if (input.starts_with("KILL")) {
            const auto line = lineAt(input);
            if (!line) return Parsed::wait(input.size() + 1);
            kill(line->text, device);
            return Parsed::took(line->next);
        }
        return printJob(input, device);
    }

private:
    static Parsed skipLine(std::string_view input) {
        const auto line = lineAt(input);
        if (line) return Parsed::took(line->next);
        return input.size() > kLongestLine ? Parsed::took(input.size()) : Parsed::wait(input.size() + 1);
    }
};

}  // namespace

std::unique_ptr<Language> makeKdxtLanguage() { return std::make_unique<Kdxt>(); }

}  // namespace emulator
