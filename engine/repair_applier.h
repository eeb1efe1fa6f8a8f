// Carries out the repair of the ticked findings: refusals, backup file, registry changes
// last finding first, and the outcome text.
#ifndef STLAG_REPAIR_APPLIER_H
#define STLAG_REPAIR_APPLIER_H

#include <string>
#include <vector>

#include "finding.h"
#include "platform.h"
#include "registry.h"
#include "text_format.h"

namespace stlag {

// ticked[i] says whether finding i is to be repaired; findings past its end are not. The
// backup's path is UTF-8.
struct RepairRequest {
    std::vector<bool> ticked;
    std::string backupPath;
};

enum class RepairRefusal { None, NothingTicked, BackupExists, BackupNotCreated };

// What became of one finding: not ticked, refused or not reached; backed up and changed;
// refused by the system or not recordable; changed by someone else since the scan.
enum class RepairOutcome { NotTried, Repaired, Failed, ChangedSinceScan };

// A refused repair changed nothing: findingsLeft holds every finding, outcome is empty and
// warningTextId names the message to show. Otherwise findingsLeft holds what was not
// repaired, in scan order, and outcome says what happened, the backup's path apart; backupStopped when
// the backup could not be written further and the findings after that were not tried.
// outcomes[i] is finding i's, either way.
struct RepairResult {
    RepairRefusal refusal = RepairRefusal::None;
    unsigned warningTextId = 0;
    FindingList findingsLeft;
    PathText outcome;
    std::vector<RepairOutcome> outcomes;
    bool backupStopped = false;
};

// A finding stays, and is named in the outcome under 311 (change) or 312 (delete) after
// 310, when its key does not open for writing, when the system refuses the change or the
// deletion, when its value name holds CR or LF, or its key path any character below 0x20,
// which the backup file cannot record.
// A value that is gone (or its key), no longer of its type, or holds other data than the
// scan read is neither backed up nor touched; it stays and is named under 314, after those
// lists.
//
// Each value's line reaches the disk before the value is changed. When the backup file
// cannot be written, the repair stops at that finding before changing it, and the outcome
// is 330, then 331 with the values changed so far (or 332 when none), then 311 and 312 for
// failures met before, then 333 with the path. With no findings at all nothing is
// created and the outcome is 400.
class RepairApplier {
public:
    RepairApplier(Registry& registry, FileSystem& fileSystem, const CodePage& codePage, const Texts& texts)
        : registry_(registry), fileSystem_(fileSystem), codePage_(codePage), texts_(texts) {}

    RepairResult Repair(const FindingList& findings, const RepairRequest& request) const;

private:
    struct Walk;
    RepairRefusal Refusal(const FindingList& findings, const RepairRequest& request) const;
    Walk WalkLastToFirst(const FindingList& findings, const RepairRequest& request, class RegBackupWriter& backup) const;
    RepairOutcome RepairOne(const Finding& finding, RegBackupWriter& backup, Walk& walk) const;
    bool StillAsScanned(RegKey key, const Finding& finding) const;
    PathText OutcomeText(const Walk& walk, int repairedCount, int total, const std::string& backupPath) const;
    std::string FailureParagraphs(const Walk& walk) const;

    Registry& registry_;
    FileSystem& fileSystem_;
    const CodePage& codePage_;
    const Texts& texts_;
};

}  // namespace stlag

#endif
