// Printer conditions and their names on the command line ("paper-out", "paper-out+head-open").
#include <array>

#include "printer_emulator.h"

namespace emulator {
namespace {

constexpr std::array<std::string_view, kConditionCount> kNames = {
    "paper-out",     "head-open",    "paused",       "ribbon-out",   "paper-jam", "buffer-full",
    "busy",          "label-waiting", "low-battery", "paper-low",    "printer-reset", "batching",
    "label-missing", "syntax-error", "memory-full",  "cutter-error", "sensor-error",  "other-error",
};

}  // namespace

std::string_view conditionName(Condition condition) { return kNames.at(static_cast<size_t>(condition)); }

PrinterState::PrinterState(std::initializer_list<Condition> conditions) {
    for (Condition condition : conditions) bits_ |= 1u << static_cast<int>(condition);
}

PrinterState PrinterState::parse(std::string_view text) {
    if (text == "ready") return {};
    PrinterState state;
    while (true) {
        const size_t plus = text.find('+');
        const std::string_view name = text.substr(0, plus);
        bool known = false;
        for (size_t i = 0; i < kNames.size(); ++i) {
            if (kNames[i] == name) {
                state.bits_ |= 1u << i;
                known = true;
            }
        }
        if (!known) throw EmulatorError("unknown printer state \"" + std::string(name) + "\"");
        if (plus == std::string_view::npos) return state;
        text.remove_prefix(plus + 1);
    }
}

std::vector<Condition> PrinterState::conditions() const {
    std::vector<Condition> list;
    for (int i = 0; i < kConditionCount; ++i)
        if (has(static_cast<Condition>(i))) list.push_back(static_cast<Condition>(i));
    return list;
}

std::string PrinterState::name() const {
    if (ready()) return "ready";
    std::string text;
    for (Condition condition : conditions()) {
        if (!text.empty()) text += '+';
        text += conditionName(condition);
    }
    return text;
}

}  // namespace emulator
