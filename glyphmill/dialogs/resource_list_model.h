// The rules of the resource list: its column layout, its rows of file records, the
// selection, the select-all box in the header and what the context menu may offer.
#pragma once

#include <string>
#include <vector>

#include "kdx/module_abi.h"

namespace glyphmill {

enum class ColumnAlignment { Left, Centre, Right };

struct ListColumn {
    std::u16string title;
    int width = 100;
    ColumnAlignment alignment = ColumnAlignment::Left;
};

// "title,width[,alignment];..." — width 100 when missing or not a number, alignment 1 centred,
// 2 right, anything else left.
std::vector<ListColumn> ParseColumnLayout(const std::u16string &layout);

// The column layout of the four "ResList" titles: memory, name, type, size.
std::u16string ResourceColumnLayout(const std::vector<std::u16string> &titles);

// One row as shown: memory, name, type, size.
std::vector<std::u16string> RowTexts(const FileRecord &record);

class ResourceListModel {
public:
    // Replaces every row; with the select-all box set, the new rows come up selected.
    void setRecords(std::vector<FileRecord> records);
    const std::vector<FileRecord> &records() const { return records_; }
    std::size_t rowCount() const { return records_.size(); }

    bool isSelected(std::size_t row) const { return row < selected_.size() && selected_[row]; }
    // A selection made in the list itself; the select-all box follows it.
    void setSelection(const std::vector<bool> &selected);
    void select(std::size_t row, bool on);
    std::size_t selectedCount() const;
    std::vector<FileRecord> selectedRecords() const;

    // The header box: a click toggles it and selects or clears every row.
    bool selectAll() const { return selectAll_; }
    void toggleSelectAll();

    // After a successful delete: the selected rows go, the others keep their order.
    void removeSelected();
    // After a successful format.
    void clear();

    // The context menu and the tools menu.
    bool canDelete() const { return selectedCount() >= 1; }
    bool canTestPrint() const { return selectedCount() == 1; }

private:
    // The box is set exactly when there are rows and every one is selected, or it was set and
    // nothing was deselected since.
    void followSelection();

    std::vector<FileRecord> records_;
    std::vector<bool> selected_;
    bool selectAll_ = false;
};

}  // namespace glyphmill
