// Serves one client stream: a TCP connection or the pseudo-terminal. Reads what arrives,
// hands it to the language command by command, writes the replies, and plays the fault
// the printer is set to. Runs on the printer's serving thread.
#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "language.h"
#include "printer_core.h"
#include "stream_log.h"

namespace emulator {

class Connection {
public:
    enum class Channel { Socket, Terminal };
    enum class End { PeerClosed, Dropped, Stopped, Failed };

    // `fd` stays owned by the caller. `wakeFd` is readable when the printer wants the serving
    // thread to look at its settings again; `onWake` is called then. `log` may be null.
    Connection(int fd, Channel channel, PrinterCore &core, const Language &language, int wakeFd,
               std::function<void()> onWake, StreamLog::File *log);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Serves until the client closes, the fault drops the connection, `stopping` is set, or
    // reading or writing fails.
    End serve(const std::atomic<bool> &stopping);

private:
    using Clock = std::chrono::steady_clock;
    struct Outgoing {
        std::string bytes;
        size_t sent = 0;
        Clock::time_point due;
        bool startsBabble = false;
    };
    class Commands;

    void take(std::string_view bytes);
    void parse(bool endOfStream);
    void queueReply(std::string bytes);
    bool babbling(const Fault &fault) const;
    // Writes what is due; false when the client is gone.
    bool flush(const Fault &fault);
    ssize_t write(const char *data, size_t size);

    int fd_;
    Channel channel_;
    PrinterCore &core_;
    const Language &language_;
    int wakeFd_;
    std::function<void()> onWake_;
    StreamLog::File *log_;
    std::unique_ptr<Commands> device_;

    size_t stream_;
    uint64_t received_ = 0;
    std::string pending_;   // received bytes not yet used
    size_t pendingStart_ = 0;
    size_t needAtLeast_ = 0;
    uint64_t skip_ = 0;
    std::deque<Outgoing> outgoing_;
    bool babbleStarted_ = false;
    size_t babbleOffset_ = 0;
    Clock::time_point nextBabble_{};
};

// Bytes that fill a padded reply or a babbling stream: lines of "#".
std::string fillerBytes(size_t offset, size_t length);

}  // namespace emulator
