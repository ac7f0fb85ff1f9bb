#include "resource_list_model.h"

#include <algorithm>

#include "wide_text.h"

namespace glyphmill {
namespace {

std::vector<std::u16string> split(const std::u16string &text, char16_t separator) {
    std::vector<std::u16string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start));
        if (end == std::u16string::npos) break;
        start = end + 1;
    }
    return parts;
}

int number(const std::u16string &text, int fallback) {
    if (text.empty() || text.size() > 6) return fallback;
    int value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return fallback;
        value = value * 10 + (c - u'0');
    }
    return value;
}

}  // namespace

std::vector<ListColumn> ParseColumnLayout(const std::u16string &layout) {
    std::vector<ListColumn> columns;
    for (const std::u16string &part : split(layout, u';')) {
        if (part.empty()) continue;
        const std::vector<std::u16string> fields = split(part, u',');
        ListColumn column;
        column.title = fields[0];
        if (fields.size() > 1) column.width = number(fields[1], 100);
        if (fields.size() > 2) {
            const int alignment = number(fields[2], 0);
            column.alignment = alignment == 1   ? ColumnAlignment::Centre
                               : alignment == 2 ? ColumnAlignment::Right
                                                : ColumnAlignment::Left;
        }
        columns.push_back(column);
    }
    return columns;
}

std::u16string ResourceColumnLayout(const std::vector<std::u16string> &titles) {
    static constexpr const char16_t *kWidths[] = {u",120;", u",120;", u",140;", u",120"};
    std::u16string layout;
    for (std::size_t i = 0; i < titles.size() && i < 4; ++i) layout += titles[i] + kWidths[i];
    return layout;
}

std::vector<std::u16string> RowTexts(const FileRecord &record) {
    return {std::u16string(kdx::fieldOf(record.memory)), std::u16string(kdx::fieldOf(record.name)),
            std::u16string(kdx::fieldOf(record.type)), std::u16string(kdx::fieldOf(record.size))};
}

void ResourceListModel::setRecords(std::vector<FileRecord> records) {
    records_ = std::move(records);
    selected_.assign(records_.size(), selectAll_);
}

void ResourceListModel::setSelection(const std::vector<bool> &selected) {
    for (std::size_t row = 0; row < selected_.size(); ++row) selected_[row] = row < selected.size() && selected[row];
    followSelection();
}

void ResourceListModel::select(std::size_t row, bool on) {
    if (row >= selected_.size()) return;
    selected_[row] = on;
    followSelection();
}

std::size_t ResourceListModel::selectedCount() const {
    return static_cast<std::size_t>(std::count(selected_.begin(), selected_.end(), true));
}

std::vector<FileRecord> ResourceListModel::selectedRecords() const {
    std::vector<FileRecord> chosen;
    for (std::size_t row = 0; row < records_.size(); ++row)
        if (selected_[row]) chosen.push_back(records_[row]);
    return chosen;
}

void ResourceListModel::toggleSelectAll() {
    selectAll_ = !selectAll_;
    selected_.assign(records_.size(), selectAll_);
}

void ResourceListModel::removeSelected() {
    std::vector<FileRecord> kept;
    for (std::size_t row = 0; row < records_.size(); ++row)
        if (!selected_[row]) kept.push_back(records_[row]);
    records_ = std::move(kept);
    selected_.assign(records_.size(), false);
    followSelection();
}

void ResourceListModel::clear() {
    records_.clear();
    selected_.clear();
}

void ResourceListModel::followSelection() {
    const std::size_t count = selectedCount();
    if (selectAll_ && count < records_.size()) selectAll_ = false;
    else if (!selectAll_ && !records_.empty() && count == records_.size()) selectAll_ = true;
}

}  // namespace glyphmill
