// The characters a CodeRange selects, walked in character-index order. The walk checks the
// range against its table first, so no row outside the table is ever read.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "kdx/module_abi.h"

namespace kdx {

// One table row cut to the selection: `count` consecutive codes from `firstCode`.
struct SelectedRun {
    uint32_t firstCode;  // the row's first code plus the offset the selection starts at
    int64_t count;
};

// Rows of three values for MBCS tables (encoding 0), two for Unicode tables (encoding 1).
inline int rowStride(uint8_t encoding) { return encoding == 1 ? 2 : 3; }

// The runs of the selection in order, or nothing when the range does not fit its table or
// does not select exactly `charCount` characters.
std::optional<std::vector<SelectedRun>> selectedRuns(const CodeRange &range, uint8_t encoding);

// Calls visit(code, index) for each selected character; code is the row's first code plus the
// character's offset in the row (not cut to 16 bits).
template <typename Visit>
void forEachCharacter(const std::vector<SelectedRun> &runs, Visit visit) {
    int64_t index = 0;
    for (const SelectedRun &run : runs)
        for (int64_t i = 0; i < run.count; ++i) visit(run.firstCode + static_cast<uint32_t>(i), index++);
}

}  // namespace kdx
