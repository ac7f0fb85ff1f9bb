// A pseudo-terminal in raw mode that plays the printer's serial port: clients open the slave
// path; the printer reads and writes the master. The printer keeps the slave open itself, so
// the terminal lives on between clients and reads never fail for want of one.
#pragma once

#include <string>

namespace emulator {

class PtyEndpoint {
public:
    PtyEndpoint();  // throws EmulatorError when no terminal can be opened
    ~PtyEndpoint();
    PtyEndpoint(const PtyEndpoint &) = delete;
    PtyEndpoint &operator=(const PtyEndpoint &) = delete;

    int master() const { return master_; }
    const std::string &path() const { return path_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

}  // namespace emulator
