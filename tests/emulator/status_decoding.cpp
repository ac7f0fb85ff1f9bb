#include "status_decoding.h"

#include <tuple>
#include <utility>
#include <vector>

namespace emulator_test {
namespace {

std::string joined(const std::vector<std::string> &texts, const std::string &none) {
    if (texts.empty()) return none;
    std::string text;
    for (const std::string &each : texts) text += (text.empty() ? "" : " / ") + each;
    return text;
}

std::optional<std::string> flagsByPosition(const std::string &reply, size_t minimum, char set,
                                           const std::vector<std::pair<size_t, std::string>> &table) {
    if (reply.size() < minimum) return std::nullopt;
    std::vector<std::string> texts;
    for (const auto &[position, text] : table)
        if (reply[position] == set) texts.push_back(text);
    return joined(texts, "No Error");
}

std::string kdxe(const std::string &reply) {
    static const std::vector<std::pair<std::string, std::string>> codes = {
        {"00", "No Error"},
        {"01", "Syntax Error"},
        {"02", "Object Exceeded Label Border"},
        {"03", "Barcode Data Length Error"},
        {"04", "Insufficient Memory to Store Data"},
        {"05", "Memory Configuration Error"},
        {"06", "RS-232 Interface Error"},
        {"07", "Paper or Ribbon Empty"},
        {"08", "Duplicate Name: Form, Graphic or Soft Font"},
        {"09", "Name Not Found: Form, Graphic or Soft Font"},
        {"10", "Not in Data Entry Mode"},
        {"11", "Printhead Up (Open)"},
        {"12", "Pause Mode or Paused in Peel Mode"},
        {"50", "Printer Busy - Processing Print Job"},
        {"80", "Undefined"},
        {"81", "Cutter Jammed or Not Installed"},
        {"82", "AutoSense or Sensor Failure"},
        {"83", "Illegal Interrupt occurred"},
        {"84", "Excessive Media Fedding"},
    };
    for (const auto &[code, text] : codes)
        if (reply.find(code) != std::string::npos) return text;
    return "";
}

std::string kdxt(unsigned char value) {
    switch (value) {
        case 1: return "Head opened";
        case 2: return "Paper Jam";
        case 3: return "Paper Jam and head opened";
        case 4: return "Out of paper";
        case 5: return "Out of paper and head opened";
        case 8: return "Out of ribbon";
        case 9: return "Out of ribbon and head opened";
        case 10: return "Out of ribbon and paper jam";
        case 11: return "Out of ribbon, paper jam and head opened";
        case 12: return "Out of ribbon and out of paper";
        case 13: return "Out of ribbon, out of paper and head opened";
        case 16: return "Pause";
        case 32: return "Printing";
        case 128: return "Other error";
        default: return "No Error";
    }
}

std::string kdxc(const std::string &reply) {
    static const std::vector<std::tuple<size_t, unsigned, std::string>> bits = {
        {0, 0x10, "Printer reset"},      {0, 0x08, "Low battery"},        {0, 0x04, "Latch open"},
        {0, 0x02, "Out of paper"},       {0, 0x01, "Printer busy"},       {1, 0x80, "No ribbon detected"},
        {1, 0x40, "Paper supply is low"}, {1, 0x20, "Last label not removed yet"}, {1, 0x10, "Paper jam"},
    };
    std::vector<std::string> texts;
    for (const auto &[index, mask, text] : bits)
        if (index < reply.size() && (static_cast<unsigned char>(reply[index]) & mask)) texts.push_back(text);
    return joined(texts, "No Error");
}

}  // namespace

std::string statusQuery(const std::string &language) {
    if (language == "KDXA") return "\x01" "A\r\n";
    if (language == "KDXE") return "^ee\r\n";
    if (language == "KDXZ") return "~HS\r\n";
    if (language == "KDXT") return "\x1b!?\r\n";
    return "\x1bh\x1bi";
}

std::optional<std::string> decodeStatus(const std::string &language, const std::string &reply) {
    if (language == "KDXA")
        return flagsByPosition(reply, 8, 'Y',
                               {{0, "Buffer Full"}, {1, "Paper Out"}, {2, "Ribbon Out"}, {3, "Batching Mode"},
                                {4, "Printer Busy"}, {5, "Printer Paused"}, {6, "Label Not Exist"}});
    if (language == "KDXZ")
        return flagsByPosition(reply, 82, '1',
                               {{5, "Paper Out"}, {7, "Paused"}, {18, "Buffer Full"}, {43, "Head Up"}, {53, "Label Waitting"}});
    if (language == "KDXE") {
        if (reply.size() < 4) return std::nullopt;
        return kdxe(reply);
    }
    if (reply.empty()) return std::nullopt;
    if (language == "KDXT") return kdxt(static_cast<unsigned char>(reply[0]));
    return kdxc(reply);
}

}  // namespace emulator_test
