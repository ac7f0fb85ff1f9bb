// Preparing the downloads of whole files: a TrueType or OpenType font wrapped by the language
// module, and a data file whose command Glyphmill builds itself.
#pragma once

#include <cstdint>
#include <string>

#include "link/transactions/download_job.h"

namespace kdx {
class LanguageModule;
}

namespace glyphmill {

// Reads the whole file into job.SourceBuffer; false (buffer emptied) when it cannot be read
// or is empty.
bool LoadSourceFile(const std::string &path, printer_link::DownloadJob &job);

// The file's name without its folder and without its last extension: "my.font.ttf" → "my.font".
std::string FileTitle(const std::string &path);

// Object names hold at most this many bytes of the ANSI code page.
constexpr std::size_t kMaxObjectNameBytes = 8;
bool IsValidObjectName(const std::u16string &name);

// The module's TrueType stream for job.SourceBuffer under `name`, into job.CommandBuffer. The
// source buffer is released in every case. False when the module lacks the procedures.
bool BuildTtfCommand(const kdx::LanguageModule *module, const std::u16string &name,
                     const std::string &memoryType, printer_link::DownloadJob &job);

// "~DER:" (RAM) or "~DEE:", the name, ".DAT,", half the kept byte count, ",", then the file
// with every CR and LF byte left out. False for an empty source.
bool BuildDataCommand(const std::u16string &name, const std::string &memoryType, printer_link::DownloadJob &job);

}  // namespace glyphmill
