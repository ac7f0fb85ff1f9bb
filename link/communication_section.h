// The "Communication" section of Config.ini: which port the program uses and its line settings.
#pragma once

#include "port_info.h"

namespace platform {
class ProfileStore;
}

namespace printer_link {

// The connection family of an installation: 1 ("direct": serial, parallel, USB, network) or
// 2 ("driver": installed printers and network). Any other value counts as 1.
int normalisedComType(int comType);

// Reads the section into port. The stored kind is first fitted to the family: family 1 reads
// kinds 5 and 6 as serial, family 2 reads kinds 1 to 4 as installed printer (6). A kind other
// than "1" to "7" then fails (false, port unchanged). Installed-printer kinds read nothing else;
// every other kind also reads the serial and parallel keys, each with its default. Fields that
// are never stored (USB, installed printer, network) are left as they are.
bool readCommunicationSection(const platform::ProfileStore &store, int comType, tagPORTINFO &port);

// Writes the kind and, in family 1 only, the serial and parallel keys. Never reports failure:
// a file that cannot be written keeps its old contents.
void writeCommunicationSection(platform::ProfileStore &store, int comType, const tagPORTINFO &port);

// The eight keys of a new Config.ini; the kind is 1 in family 1 and 6 in family 2.
void writeDefaultCommunicationSection(platform::ProfileStore &store, int comType);

}  // namespace printer_link
