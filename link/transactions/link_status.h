// Status flags that a download or search worker sets and a progress view polls. Each flag is
// written by one thread and read by another, so each is an atomic; a worker sets Done last.
#pragma once

#include <atomic>
#include <cstdint>

namespace printer_link {

struct LinkStatus {
    std::atomic<uint8_t> Busy{0};         // the download worker runs; cleared when memory is short
    std::atomic<uint8_t> SendStarted{0};  // the command stream is being written
    std::atomic<uint8_t> Done{0};         // the worker finished, on every path
    std::atomic<uint8_t> Succeeded{0};    // the whole stream was sent
    std::atomic<uint8_t> NetFound{0};     // the network search found at least one address

    // The flags of the process.
    static LinkStatus &current();
};

}  // namespace printer_link
