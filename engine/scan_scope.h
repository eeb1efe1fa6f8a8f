// Which keys stlagc scans: the start-up keys, the services' program paths, the uninstall
// strings, or all of them; for the current user, or for every user hive that is loaded.
#ifndef STLAG_SCAN_SCOPE_H
#define STLAG_SCAN_SCOPE_H

#include <vector>

#include "ansi_text.h"
#include "registry.h"
#include "run_key_scanner.h"

namespace stlag {

enum class ScanScope { Run, Services, Uninstall, All };

// The sections of scope in scan order, with the sub-keys that services and uninstall
// entries have right now. allUsers puts every user hive loaded under HKEY_USERS (by SID,
// not their _Classes hives) in the place of HKEY_CURRENT_USER, which is one of them; when
// none can be listed, HKEY_CURRENT_USER stays. A parent key that cannot be listed comes as
// a section of its own, so that the log says it could not be opened.
// lower tells a hive's name from its _Classes hive's whatever their case.
std::vector<ScanSection> ScopeSections(Registry& registry, ScanScope scope, bool allUsers,
                                       const LowerCaser& lower);

}  // namespace stlag

#endif
