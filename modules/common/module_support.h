// Pieces every language module uses when it answers a procedure call.
#pragma once

#include <cstdint>
#include <limits>

#include "kdx/module_abi.h"
#include "wide_text.h"

namespace kdx {

inline constexpr char16_t CR = u'\r';
inline constexpr char16_t LF = u'\n';
inline constexpr const char16_t *CRLF = u"\r\n";
inline constexpr char16_t DQ = u'"';

// A length procedure reports a bound the data procedure holds to; a bound that does not fit a
// 32-bit length is reported as 0, and the data procedure then refuses.
inline int32_t reportableLength(int64_t bound) {
    return (bound < 0 || bound > std::numeric_limits<int32_t>::max()) ? 0 : static_cast<int32_t>(bound);
}

inline void report(int32_t *length, int64_t bound) {
    if (length) *length = reportableLength(bound);
}

// The reply text: at most KDX_REPLY_CAPACITY bytes up to the NUL, from the ANSI code page.
WString replyText(const char *reply);

// The memory text of a listed file.
inline WView memoryName(uint8_t selector) { return selector == 0 ? u"RAM" : u"FLASH"; }
inline bool isRam(const FileRecord &record) { return fieldOf(record.memory) == u"RAM"; }

// Fills one record; every field is cut to its size.
void fillRecord(FileRecord &record, WView memory, WView name, WView type, WView size);

// Writes the formats list of GetExportImgForm.
void writeFormats(char16_t *formats, int32_t *count, WView list, int32_t number);

}  // namespace kdx
