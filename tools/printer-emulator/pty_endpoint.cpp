#include "pty_endpoint.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "printer_emulator.h"

namespace emulator {

PtyEndpoint::PtyEndpoint() {
    char name[PATH_MAX] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        throw EmulatorError(std::string("cannot open a pseudo-terminal: ") + std::strerror(errno));
    path_ = name;
    // Raw mode: bytes pass unchanged, nothing is echoed, no line editing.
    termios settings{};
    if (::tcgetattr(slave_, &settings) == 0) {
        cfmakeraw(&settings);
        ::tcsetattr(slave_, TCSANOW, &settings);
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
}

PtyEndpoint::~PtyEndpoint() {
    if (master_ >= 0) ::close(master_);
    if (slave_ >= 0) ::close(slave_);
}

}  // namespace emulator
