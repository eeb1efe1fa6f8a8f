// stlagc's command line, read into what it asks for.
#ifndef STLAG_CONSOLE_OPTIONS_H
#define STLAG_CONSOLE_OPTIONS_H

#include <string>
#include <vector>

#include "ansi_text.h"
#include "scan_scope.h"

namespace stlag {

struct ConsoleOptions {
    enum class Action { Scan, Repair, Undo, Usage, Refuse };
    Action action = Action::Scan;
    std::string backupPath;  // /repair's FILE or FOLDER\, or /undo's
    ScanScope scope = ScanScope::Run;
    bool allUsers = false;
    bool json = false;
    // With Refuse: the text to show and the argument at fault, for its %s.
    unsigned messageId = 0;
    std::string argument;
};

// Switches in any order and letter case, each at most once, led by "/" or "-": /repair
// FILE, /allusers, /scope:run|services|uninstall|logon|all, /json; or /undo FILE, with /json
// at most. /?, /h or --help alone, in any case and with "-" for "/", asks for the usage.
// Anything else is refused: an unknown switch under IDS_CONSOLE_BAD_ARGUMENT, a repeated
// one under IDS_CONSOLE_TWICE, an unknown scope under IDS_CONSOLE_BAD_SCOPE, /repair or
// /undo without a FILE (or with a switch in its place) under IDS_CONSOLE_NO_BACKUP_FILE or
// IDS_CONSOLE_NO_UNDO_FILE, /undo beside another switch than /json under IDS_CONSOLE_UNDO_ALONE.
ConsoleOptions ReadArguments(const std::vector<std::string>& arguments, const LowerCaser& lower);

}  // namespace stlag

#endif
