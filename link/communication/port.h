// The inside of the library: one class per port kind behind this interface.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace communication {

using std::chrono::milliseconds;

// An open connection. Made already open by its kind's factory function; the destructor closes.
class Port {
public:
    virtual ~Port() = default;

    // Waits at most timeout for the first byte, then returns what is there (up to capacity).
    virtual size_t read(uint8_t *buffer, size_t capacity, milliseconds timeout) = 0;

    // Sends everything; throws WriteTimedOut when no byte goes out for stallTimeout.
    virtual void write(const uint8_t *data, size_t length, milliseconds stallTimeout) = 0;

    // Called once before the port is closed; throws when the port learns that data it accepted
    // never reached the printer. Waits at most timeout.
    virtual void finish(milliseconds /*timeout*/) {}
};

}  // namespace communication
