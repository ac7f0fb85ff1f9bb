// Throwing the library's exception with the reason the system gave.
#pragma once

#include "communication_exception.h"

#include <string>

namespace communication {

[[noreturn]] void fail(CommunicationError code, const std::string &message);

// message + ": " + the text of errno.
[[noreturn]] void failWithErrno(CommunicationError code, const std::string &message);

}  // namespace communication
