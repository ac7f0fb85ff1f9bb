#include "printer_resources.h"

#include <algorithm>
#include <memory>

#include "language_module.h"
#include "link/transactions/transactions.h"
#include "wide_text.h"

namespace glyphmill {

FileListing ListPrinterFiles(const printer_link::tagPORTINFO &port, const kdx::LanguageModule *module,
                             const std::string &memoryType) {
    FileListing listing;
    if ((memoryType != "RAM" && memoryType != "FLASH") || !module) return listing;
    const uint8_t selector = memoryType == "RAM" ? 0 : 1;
    std::vector<uint8_t> kinds{0};
    if (module->name() == "KDXA" || module->name() == "KDXE") kinds = {1, 2};
    auto command = module->procedure<GetFileQueryCmdFn>("GetFileQueryCmd");
    auto parse = module->procedure<GetFileQueryResultFn>("GetFileQueryResult");
    if (!command || !parse) return listing;

    // Each call gets a whole array of its own, so two kinds never write past the 100 records.
    auto records = std::make_unique<FileRecord[]>(KDX_RECORD_CAPACITY);
    std::vector<uint8_t> buffer(KDX_COMMAND_CAPACITY);
    for (uint8_t kind : kinds) {
        int32_t length = 0;
        if (!command(selector, kind, buffer.data(), &length) || length < 0) return listing;
        const auto reply = printer_link::QueryTransaction(port, buffer.data(), std::size_t(length));
        if (!reply) return listing;
        std::fill_n(records.get(), KDX_RECORD_CAPACITY, FileRecord{});
        int32_t count = 0;
        if (!parse(selector, kind, reply->c_str(), records.get(), &count)) return listing;
        const int32_t room = kMaxListedFiles - static_cast<int32_t>(listing.records.size());
        const int32_t taken = std::clamp(count, 0, room);
        listing.records.insert(listing.records.end(), records.get(), records.get() + taken);
    }
    listing.ok = true;
    return listing;
}

bool DeleteFiles(const printer_link::tagPORTINFO &port, const kdx::LanguageModule *module,
                 const std::vector<FileRecord> &records) {
    auto command = module ? module->procedure<GetFileDelCmdFn>("GetFileDelCmd") : nullptr;
    if (!command || records.empty() || records.size() > std::size_t(kMaxListedFiles)) return false;
    std::vector<uint8_t> buffer(KDX_COMMAND_CAPACITY);
    int32_t length = 0;
    if (!command(records.data(), int32_t(records.size()), buffer.data(), &length) || length <= 0) return false;
    return printer_link::SendTransaction(port, buffer.data(), std::size_t(length));
}

bool PrintTestFile(const printer_link::tagPORTINFO &port, const kdx::LanguageModule *module,
                   const FileRecord &record, const std::u16string &memoryType, const std::u16string &testText) {
    auto command = module ? module->procedure<GetFilePrintCmdFn>("GetFilePrintCmd") : nullptr;
    if (!command) return false;
    const std::u16string language = kdx::widen(module->name());
    const PrintSetting print{language.c_str(), memoryType.c_str(), u"10", u"10", u"0", testText.c_str()};
    std::vector<uint8_t> buffer(KDX_COMMAND_CAPACITY);
    int32_t length = 0;
    command(&record, &print, buffer.data(), &length);
    if (length <= 0 || length > KDX_COMMAND_CAPACITY) return false;
    return printer_link::SendTransaction(port, buffer.data(), std::size_t(length));
}

FileRecord MemoryRecord(const std::string &memoryType) {
    FileRecord record{};
    kdx::setField(record.memory, kdx::widen(memoryType));
    return record;
}

bool FormatStorage(const printer_link::tagPORTINFO &port, const kdx::LanguageModule *module,
                   const std::string &memoryType) {
    auto command = module ? module->procedure<GetFileFormatCmdFn>("GetFileFormatCmd") : nullptr;
    if (!command) return false;
    std::vector<FileRecord> records;
    if (module->name() == "KDXC" || (module->name() == "KDXZ" && memoryType == "RAM")) {
        FileListing listing = ListPrinterFiles(port, module, memoryType);
        if (!listing.ok) return false;
        if (listing.records.empty()) return true;
        records = std::move(listing.records);
    } else {
        records.push_back(MemoryRecord(memoryType));
    }
    std::vector<uint8_t> buffer(KDX_COMMAND_CAPACITY);
    int32_t length = 0;
    if (!command(records.data(), int32_t(records.size()), buffer.data(), &length) || length <= 0) return false;
    return printer_link::SendTransaction(port, buffer.data(), std::size_t(length));
}

}  // namespace glyphmill
