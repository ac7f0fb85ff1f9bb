// Feeds arbitrary printer replies to a module's two reply parsers. The reply is copied into a
// buffer of exactly its size plus the NUL and the records into exactly 100, so AddressSanitizer
// reports any read or write past them; counts outside 0..100 abort.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz_input.h"
#include "kdx/module_abi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzInput input(data, size);
    const uint8_t memory = static_cast<uint8_t>(input.byte() % 3);
    const uint8_t kind = static_cast<uint8_t>(input.byte() % 4);
    std::vector<char> reply(input.rest(), input.rest() + input.restSize());
    reply.push_back('\0');

    int64_t freeBytes = -7;
    if (!GetModuleMemLen(memory, reply.data(), &freeBytes) && freeBytes != -7) std::abort();

    auto records = std::make_unique<FileRecord[]>(KDX_RECORD_CAPACITY);
    int32_t count = -7;
    const bool listed = GetFileQueryResult(memory, kind, reply.data(), records.get(), &count);
    if (listed && (count < 0 || count > KDX_RECORD_CAPACITY)) std::abort();
    for (int32_t i = 0; listed && i < count; ++i) {
        const FileRecord &record = records[i];
        if (record.memory[7] != 0 || record.name[259] != 0 || record.type[31] != 0 || record.size[23] != 0)
            std::abort();
    }
    return 0;
}
