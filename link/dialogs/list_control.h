// What one list control of a dialog shows, kept by the dialog's rules and drawn by its view.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace printer_link {

struct ListControl {
    std::vector<std::string> entries;
    int selected = -1;  // -1: no entry selected
    std::string text;   // the edit field of an editable list; otherwise the selected entry
    bool enabled = true;

    // Replaces the entries and selects one (out of range: none).
    void fill(std::vector<std::string> newEntries, int selection = -1);
    void clear() { fill({}); }

    // Selects the entry at position (out of range: none); the text follows the selection,
    // except that selecting nothing leaves the text of an editable list as it is.
    void select(int position);

    // The position of the entry equal to text, or -1.
    int find(std::string_view entry) const;

    // The position of the first entry that begins with prefix, ignoring the case of ASCII
    // letters (the way a list control searches as the user types), or -1.
    int findPrefix(std::string_view prefix) const;

    bool has(int position) const { return position >= 0 && position < static_cast<int>(entries.size()); }
};

}  // namespace printer_link
