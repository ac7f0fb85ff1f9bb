// The process-wide link state: the current port description, the connection family, the IP
// version of the chosen network address, and whether the command line named the port.
#pragma once

#include "port_info.h"

#include <atomic>
#include <mutex>
#include <string_view>

namespace platform {
class ProfileStore;
}

namespace printer_link {

// One instance per process (LinkSettings::current()); every member may be used from any
// thread. The port description is handed out and taken back as whole copies, so a reader never
// sees half of an update; dialogs and transactions work on their own copies.
class LinkSettings {
public:
    static LinkSettings &current();

    LinkSettings() = default;
    LinkSettings(const LinkSettings &) = delete;
    LinkSettings &operator=(const LinkSettings &) = delete;

    tagPORTINFO port() const;
    void setPort(const tagPORTINFO &port);

    // 1 or 2; setting any other value stores 1. Initially 1.
    int comType() const { return comType_.load(); }
    void setComType(int comType);

    // 2 (IPv4), 3 (IPv6) or -1 (no network address chosen, the initial value).
    int netIPVersion() const { return netIPVersion_.load(); }
    void setNetIPVersion(int version) { netIPVersion_.store(version); }

    // True once a command line's port part has been taken over.
    bool startedWithParameters() const { return startedWithParameters_.load(); }

    // Fills the port description from Config.ini's "Communication" section under the current
    // family; false (nothing changed) when the stored kind is not valid.
    bool readFrom(const platform::ProfileStore &store);

    // Stores port under the current family; the current description is not changed (the caller
    // makes a confirmed dialog's copy current with setPort). Always true.
    bool writeTo(platform::ProfileStore &store, const tagPORTINFO &port) const;

    // Takes over the port part of a command line (see parsePortPart): on success the port
    // description, the IP version (for NET) and the started-with-parameters flag change
    // together; on failure nothing changes.
    bool takeCommandLine(std::u16string_view portPart);

    // Back to the state at process start; for tests.
    void reset();

private:
    mutable std::mutex portMutex_;
    tagPORTINFO port_{};
    std::atomic<int> comType_{1};
    std::atomic<int> netIPVersion_{-1};
    std::atomic<bool> startedWithParameters_{false};
};

}  // namespace printer_link
