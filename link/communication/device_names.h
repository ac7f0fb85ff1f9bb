// From the port names users know ("COM1", "LPT1") to device files.
#pragma once

#include <string>

namespace communication {

// "COMn" (any letter case, n from 1) is <device root>/ttyS(n-1); a name starting with "/" is
// that device path. Anything else throws InvalidPortName.
std::string serialDevicePath(const std::string &name);

// "LPTn" is <device root>/lp(n-1); a name starting with "/" is that path.
std::string parallelDevicePath(const std::string &name);

}  // namespace communication
