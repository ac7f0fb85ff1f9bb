// A pseudo-terminal: the library opens the terminal side as its serial port, the test plays
// the printer on the controlling side.
#pragma once

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace test_support {

class PtyPair {
public:
    PtyPair() {
        char name[128];
        if (::openpty(&controller_, &terminal_, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        path_ = name;
    }
    ~PtyPair() {
        ::close(controller_);
        ::close(terminal_);
    }
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    // The printer's end.
    int controller() const { return controller_; }
    // The device path the library opens, e.g. /dev/pts/3.
    const std::string &path() const { return path_; }

    // The terminal's settings as the library left them. The test keeps the terminal side open
    // as well, so the pair survives the library closing its descriptor.
    termios settings() const {
        termios tio{};
        ::tcgetattr(terminal_, &tio);
        return tio;
    }

private:
    int controller_ = -1;
    int terminal_ = -1;
    std::string path_;
};

}  // namespace test_support
