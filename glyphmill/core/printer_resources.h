// The files a printer holds: listing them, deleting some, test-printing one, formatting the
// memory. Command bytes and reply parsing come from the bound language module.
#pragma once

#include <string>
#include <vector>

#include "kdx/module_abi.h"
#include "link/port_info.h"

namespace kdx {
class LanguageModule;
}

namespace glyphmill {

constexpr int kMaxListedFiles = KDX_RECORD_CAPACITY;

struct FileListing {
    bool ok = false;                  // every query and parse succeeded
    std::vector<FileRecord> records;  // what was collected, also when a later kind failed
};

// Lists the files of "RAM" or "FLASH": kinds 1 and 2 in turn for KDXA and KDXE, kind 0 for the
// others; at most kMaxListedFiles records in all.
FileListing ListPrinterFiles(const printer_link::tagPORTINFO &port, const kdx::LanguageModule *module,
                             const std::string &memoryType);

// Sends the module's delete command for the records.
bool DeleteFiles(const printer_link::tagPORTINFO &port, const kdx::LanguageModule *module,
                 const std::vector<FileRecord> &records);

// Sends the module's test print of one record; false when the module builds nothing.
bool PrintTestFile(const printer_link::tagPORTINFO &port, const kdx::LanguageModule *module,
                   const FileRecord &record, const std::u16string &memoryType, const std::u16string &testText);

// Formats the memory: KDXC, and KDXZ for RAM, delete every listed file (an empty list is done at
// once); the others send one format command for the memory type.
bool FormatStorage(const printer_link::tagPORTINFO &port, const kdx::LanguageModule *module,
                   const std::string &memoryType);

// A record whose memory is `memoryType` and whose other fields are empty.
FileRecord MemoryRecord(const std::string &memoryType);

}  // namespace glyphmill
