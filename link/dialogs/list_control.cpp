#include "list_control.h"

#include <algorithm>

namespace printer_link {
namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return lowerAscii(a) == lowerAscii(b); });
}

}  // namespace

void ListControl::fill(std::vector<std::string> newEntries, int selection) {
    entries = std::move(newEntries);
    selected = -1;
    text.clear();
    select(selection);
}

void ListControl::select(int position) {
    if (!has(position)) {
        selected = -1;
        return;
    }
    selected = position;
    text = entries[static_cast<size_t>(position)];
}

int ListControl::find(std::string_view entry) const {
    const auto found = std::find(entries.begin(), entries.end(), entry);
    return found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

int ListControl::findPrefix(std::string_view prefix) const {
    for (size_t i = 0; i < entries.size(); ++i)
        if (startsWithIgnoringCase(entries[i], prefix)) return static_cast<int>(i);
    return -1;
}

}  // namespace printer_link
