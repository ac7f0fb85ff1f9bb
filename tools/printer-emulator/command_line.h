// The command line of the printer-emulator program.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "printer_emulator.h"

namespace emulator {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CommandLine {
    Options options;
    bool help = false;
};

// Reads the arguments after the program name; throws UsageError for anything the printer
// would not start with.
CommandLine parseCommandLine(const std::vector<std::string> &args);

// "1048576", "64K", "16M", "8G" or "1T" (powers of 1024).
uint64_t parseByteCount(const std::string &text);

std::string usageText();

}  // namespace emulator
