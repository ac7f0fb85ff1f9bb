#include "serial_port.h"

#include "failure.h"
#include "fd_io.h"

#include <sys/ioctl.h>
#include <termios.h>

#include <thread>

namespace communication {
namespace {

struct Speed {
    int rate;
    speed_t code;
};

constexpr Speed kSpeeds[] = {
    {50, B50}, {75, B75}, {110, B110}, {134, B134}, {150, B150}, {200, B200}, {300, B300},
    {600, B600}, {1200, B1200}, {1800, B1800}, {2400, B2400}, {4800, B4800}, {9600, B9600},
    {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
    {460800, B460800}, {500000, B500000}, {576000, B576000}, {921600, B921600},
    {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000}, {2000000, B2000000},
    {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

speed_t speedCode(int rate, const std::string &device) {
    for (const Speed &speed : kSpeeds)
        if (speed.rate == rate) return speed.code;
    fail(CommunicationError::ConfigureFailed,
         std::to_string(rate) + " bits per second is not a speed " + device + " can be set to");
}

tcflag_t characterSize(int dataBits, const std::string &device) {
    switch (dataBits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    case 8: return CS8;
    }
    fail(CommunicationError::ConfigureFailed, std::to_string(dataBits) + " data bits are not possible on " + device);
}

void applySettings(int fd, const SerialSettings &settings) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        failWithErrno(CommunicationError::ConfigureFailed, settings.device + " is not a serial port");
    ::cfmakeraw(&tio);
    const speed_t speed = speedCode(settings.baudRate, settings.device);
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    tio.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD | characterSize(settings.dataBits, settings.device);
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    switch (settings.stopBits) {
    case 0: break;
    case 1:
    case 2: tio.c_cflag |= CSTOPB; break;
    default: fail(CommunicationError::ConfigureFailed, "stop-bit code " + std::to_string(settings.stopBits) + " is not 0, 1 or 2");
    }
    switch (settings.parity) {
    case 0: break;
    case 1: tio.c_cflag |= PARENB | PARODD; break;
    case 2: tio.c_cflag |= PARENB; break;
    case 3: tio.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case 4: tio.c_cflag |= PARENB | CMSPAR; break;
    default: fail(CommunicationError::ConfigureFailed, "parity code " + std::to_string(settings.parity) + " is not 0 to 4");
    }
    switch (settings.flowControl) {
    case 0:
    case 3: break;
    case 1: tio.c_cflag |= CRTSCTS; break;
    case 2:
        tio.c_iflag |= IXON | IXOFF;
        tio.c_cc[VSTART] = 0x11;
        tio.c_cc[VSTOP] = 0x13;
        break;
    default: fail(CommunicationError::ConfigureFailed, "flow-control code " + std::to_string(settings.flowControl) + " is not 0 to 3");
    }
    // Reads never block in the driver; the time-outs are applied around them.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &tio) != 0)
        failWithErrno(CommunicationError::ConfigureFailed, "cannot set the line settings of " + settings.device);
    // tcsetattr succeeds when any of the settings took, and drivers drop what they cannot do
    // (mark/space parity, hardware flow control). Character size and the parity switch are not
    // checked: pseudo-terminals always report 8 bits without parity.
    termios applied{};
    const tcflag_t checked = CSTOPB | PARODD | CMSPAR | CRTSCTS;
    if (::tcgetattr(fd, &applied) != 0 || ::cfgetospeed(&applied) != speed ||
        (applied.c_cflag & checked) != (tio.c_cflag & checked))
        fail(CommunicationError::ConfigureFailed, settings.device + " does not accept these line settings");
    // Modem lines are best effort: pseudo-terminals and some adapters have none.
    int lines = TIOCM_DTR | (settings.flowControl == 1 ? TIOCM_RTS : 0);
    ::ioctl(fd, TIOCMBIS, &lines);
}

class SerialPort final : public FdPort {
public:
    SerialPort(FileDescriptor fd, const std::string &device)
        : FdPort(std::move(fd), FdTraits{"serial port " + device, false, false}) {}

    void write(const uint8_t *data, size_t length, milliseconds stallTimeout) override {
        FdPort::write(data, length, stallTimeout);
        lastStallTimeout_ = stallTimeout;
    }

    // Lets queued output leave before closing, as long as it keeps moving; closing a serial port
    // with output held back by flow control would otherwise wait for the driver's long close delay.
    ~SerialPort() override {
        int queued = 0, before = -1;
        auto deadline = std::chrono::steady_clock::now() + lastStallTimeout_;
        while (::ioctl(fd(), TIOCOUTQ, &queued) == 0 && queued > 0) {
            if (queued != before) deadline = std::chrono::steady_clock::now() + lastStallTimeout_;
            if (std::chrono::steady_clock::now() >= deadline) break;
            before = queued;
            std::this_thread::sleep_for(milliseconds(5));
        }
        ::tcflush(fd(), TCOFLUSH);
    }

private:
    milliseconds lastStallTimeout_{1000};
};

}  // namespace

std::unique_ptr<Port> openSerialPort(const SerialSettings &settings) {
    FileDescriptor fd = openDevice(settings.device, "serial port " + settings.device);
    // Serial ports are not shared between programs (the superuser may still open it).
    ::ioctl(fd.get(), TIOCEXCL);
    applySettings(fd.get(), settings);
    return std::make_unique<SerialPort>(std::move(fd), settings.device);
}

}  // namespace communication
