#include "selected_characters.h"

namespace kdx {

std::optional<std::vector<SelectedRun>> selectedRuns(const CodeRange &range, uint8_t encoding) {
    const int stride = rowStride(encoding);
    if (!range.table || range.rowCount < 1) return std::nullopt;
    if (range.firstRow < 0 || range.lastRow < range.firstRow || range.lastRow >= range.rowCount)
        return std::nullopt;
    if (range.firstOffset < 0 || range.lastOffset < 0) return std::nullopt;

    auto rowFirst = [&](int32_t row) -> uint32_t { return range.table[int64_t(row) * stride]; };
    auto rowLength = [&](int32_t row) -> int64_t { return range.table[int64_t(row) * stride + stride - 1]; };

    std::vector<SelectedRun> runs;
    int64_t total = 0;
    for (int32_t row = range.firstRow; row <= range.lastRow; ++row) {
        int64_t begin = row == range.firstRow ? range.firstOffset : 0;
        int64_t end = row == range.lastRow ? int64_t(range.lastOffset) + 1 : rowLength(row);
        if (end > rowLength(row) || begin > end) return std::nullopt;
        runs.push_back({rowFirst(row) + static_cast<uint32_t>(begin), end - begin});
        total += end - begin;
    }
    if (total != range.charCount) return std::nullopt;
    return runs;
}

}  // namespace kdx
