#include "private_cupsd.h"

#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace test_support {
namespace {

std::string quoted(const std::string &text) {
    std::string result = "'";
    for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

}  // namespace

bool PrivateCupsd::installed() {
    return ::access("/usr/sbin/cupsd", X_OK) == 0 && ::access("/usr/sbin/lpadmin", X_OK) == 0 &&
           ::access("/usr/bin/lpstat", X_OK) == 0 && ::access("/usr/lib/cups/backend/socket", X_OK) == 0;
}

PrivateCupsd::PrivateCupsd() {
    std::string pattern = "/tmp/kdxcups-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    folder_ = pattern;
    run("start " + quoted(folder_));
    ::setenv("CUPS_SERVER", (folder_ + "/run/cups.sock").c_str(), 1);
}

PrivateCupsd::~PrivateCupsd() {
    try {
        run("stop " + quoted(folder_));
    } catch (...) {
    }
    ::unsetenv("CUPS_SERVER");
}

void PrivateCupsd::addQueue(const std::string &name, const std::string &uri) {
    run("add-queue " + quoted(folder_) + " " + quoted(name) + " " + quoted(uri));
}

void PrivateCupsd::run(const std::string &arguments) const {
    const std::string command = std::string(KDX_CUPS_FIXTURE) + " " + arguments;
    if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

}  // namespace test_support
