#include "module_support.h"

#include <cstring>

#include "text_codec.h"

namespace kdx {

WString replyText(const char *reply) {
    if (!reply) return {};
    return fromAnsi(std::string_view(reply, strnlen(reply, KDX_REPLY_CAPACITY)));
}

void fillRecord(FileRecord &record, WView memory, WView name, WView type, WView size) {
    setField(record.memory, memory);
    setField(record.name, name);
    setField(record.type, type);
    setField(record.size, size);
}

void writeFormats(char16_t *formats, int32_t *count, WView list, int32_t number) {
    if (formats) {
        size_t length = list.size() < KDX_FORMATS_CAPACITY ? list.size() : KDX_FORMATS_CAPACITY - 1;
        std::memcpy(formats, list.data(), length * sizeof(char16_t));
        formats[length] = u'\0';
    }
    if (count) *count = number;
}

}  // namespace kdx
