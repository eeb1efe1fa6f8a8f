// Which keys stlagc scans: the start-up keys, the services' program paths, the uninstall
// strings, Winlogon's and Active Setup's log-on commands, or all of them; for the current user, or for every user hive that is loaded.
#ifndef STLAG_SCAN_SCOPE_H
#define STLAG_SCAN_SCOPE_H

#include <optional>
#include <string>
#include <vector>

#include "ansi_text.h"
#include "registry.h"
#include "run_key_scanner.h"

namespace stlag {

enum class ScanScope { Run, Services, Uninstall, Logon, All };

// Whose start-up keys: the current user's, or every hive loaded under HKEY_USERS. ownSid is
// the SID this process runs as; every other hive is another account's.
struct UserScope {
    bool allUsers = false;
    std::string ownSid;
};

// The sections of scope in scan order, with the sub-keys that services and uninstall
// entries have right now. allUsers puts every user hive loaded under HKEY_USERS (by SID,
// not their _Classes hives) in the place of the current user's; without it, or when none
// can be listed, the process's own hive stands there by its SID (HKEY_CURRENT_USER when that
// does not open). A parent key that cannot be opened or listed to its end, and a sub-key
// whose name is not in the code page or holds a NUL, come as sections of their own, so that
// the scan reports them. lower compares names whatever their case.
std::vector<ScanSection> ScopeSections(Registry& registry, ScanScope scope, const UserScope& users,
                                       const LowerCaser& lower);

// The section of a scan (the wizard's, or one of stlagc's scopes for any loaded user) that a
// repair could have changed the value valueName of keyPath in, the key path as KeyFullPath
// writes it: its root, view and sub-key, the rule that judges the value and whose line it
// is (ownSid as in UserScope). Nothing for any other key or value, and for Userinit, which
// is never changed. lower compares names whatever their case.
std::optional<ScanSection> ChangeableSection(const std::string& keyPath, const std::string& valueName,
                                             const std::string& ownSid, const LowerCaser& lower);

}  // namespace stlag

#endif
