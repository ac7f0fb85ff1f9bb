// A CUPS scheduler of the test's own, started through cups_fixture.sh in a short temp folder.
#pragma once

#include <string>

namespace test_support {

class PrivateCupsd {
public:
    // True when cupsd and the client tools are installed.
    static bool installed();

    // Starts the scheduler and points CUPS_SERVER at it; throws when it does not come up.
    PrivateCupsd();
    ~PrivateCupsd();
    PrivateCupsd(const PrivateCupsd &) = delete;
    PrivateCupsd &operator=(const PrivateCupsd &) = delete;

    // Adds a raw queue whose device is uri; throws when lpadmin refuses.
    void addQueue(const std::string &name, const std::string &uri);

private:
    void run(const std::string &arguments) const;

    std::string folder_;
};

}  // namespace test_support
