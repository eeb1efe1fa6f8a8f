// Carries out the repair of the ticked findings: refusals, backup file, registry
// changes last finding first, and the outcome text.
#ifndef STLAG_REPAIR_APPLIER_H
#define STLAG_REPAIR_APPLIER_H

#include <functional>
#include <string>

#include "platform.h"
#include "registry.h"
#include "run_entry_fix.h"

namespace stlag {

// What the repair needs of the page that starts it.
struct RepairRequest {
    int rowCount = 0;                             // rows of the finding list when the repair starts
    std::function<bool(int row)> isTicked;        // row i shows finding i; unset: every row ticked
    std::function<std::string()> backupFileName;  // pulls the page's controls, then gives the path
    std::function<void(unsigned textId)> warn;    // an exclamation box with that string
    std::function<void()> refill;                 // rebuilds the list from what is left
};
// Rows at or past rowCount count as unticked. Unset warn and refill do nothing.
//
// A finding stays in the list, and is named in the outcome under 311 (change) or 312
// (delete) after 310, when its key does not open for writing, when the system refuses
// the change or the deletion, or when its value name holds CR or LF, which the backup
// file cannot record.
//
// Each value's line reaches the disk before the value is changed. When the backup file
// cannot be written, the repair stops at that finding before changing it: the file is
// closed, the list refilled, and the outcome is 330, then 331 with the values changed
// so far (or 332 when none), then 311 and 312 for failures met before, then 333 with the
// path. The result is then the number of findings left, as after any repair that ran.

// Results below zero: the repair was refused and nothing was changed.
enum : int {
    kRepairNothingTicked = -1,
    kRepairBackupExists = -2,
    kRepairBackupNotCreated = -3,
};

class RepairApplier {
public:
    RepairApplier(Registry& registry, FileSystem& fileSystem, const CodePage& codePage, const Texts& texts)
        : registry_(registry), fileSystem_(fileSystem), codePage_(codePage), texts_(texts) {}

    // The number of findings left (0 or more), or one of the refusals above. outcomeText is
    // replaced whenever the repair gets past its refusals.
    int Repair(RunEntryFixList& findings, const RepairRequest& request, std::string& outcomeText);

private:
    Registry& registry_;
    FileSystem& fileSystem_;
    const CodePage& codePage_;
    const Texts& texts_;
};

}  // namespace stlag

#endif
