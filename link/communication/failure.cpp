#include "failure.h"

#include <cerrno>
#include <cstring>

CommunicationException::CommunicationException(CommunicationError code, const std::string &message)
    : std::runtime_error(message), code_(code) {}

namespace communication {

void fail(CommunicationError code, const std::string &message) {
    throw CommunicationException(code, message);
}

void failWithErrno(CommunicationError code, const std::string &message) {
    const int error = errno;
    fail(code, message + ": " + std::strerror(error));
}

}  // namespace communication
