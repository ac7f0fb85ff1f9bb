// How a status monitor turns each language's status reply into a state text (the English
// texts), so that tests can check the emulator's replies against what a host reads in them.
#pragma once

#include <optional>
#include <string>

namespace emulator_test {

// The query a monitor sends for the language.
std::string statusQuery(const std::string &language);

// The decoded text, or nothing when the reply is too short to change the shown state.
std::optional<std::string> decodeStatus(const std::string &language, const std::string &reply);

}  // namespace emulator_test
