#include "repair_applier.h"

#include <vector>

#include "reg_backup_writer.h"
#include "resource.h"
#include "text_format.h"

namespace stlag {

namespace {

std::string FailureLine(const RunEntryFix& fix)
{
    return RunKeyFullPath(fix.rootName, fix.keyName) + "\\" + fix.valueName + "\r\n";
}

}  // namespace

int RepairApplier::Repair(RunEntryFixList& findings, const RepairRequest& request, std::string& outcomeText)
{
    const int count = findings.Count();
    if (count == 0)
        return 0;
    const int rowCount = request.rowCount;
    // A row the list does not have cannot be ticked.
    auto ticked = [&](int row) { return row < rowCount && (!request.isTicked || request.isTicked(row)); };
    auto warn = [&](unsigned id) {
        if (request.warn)
            request.warn(id);
    };

    bool anyTicked = false;
    for (int row = 0; row < rowCount && !anyTicked; ++row)
        anyTicked = ticked(row);
    if (!anyTicked) {
        warn(IDS_NOTHING_TICKED);
        return kRepairNothingTicked;
    }

    const std::string backupFileName = request.backupFileName ? request.backupFileName() : std::string();
    if (fileSystem_.FileExists(backupFileName)) {
        warn(IDS_BACKUP_EXISTS);
        return kRepairBackupExists;
    }
    RegBackupWriter backup(fileSystem_, codePage_);
    // Creation never replaces a file, so one that turned up since the test above ends here.
    if (!backup.Create(backupFileName)) {
        warn(IDS_BACKUP_CREATE_FAILED);
        return kRepairBackupNotCreated;
    }

    std::string changeFailures;
    std::string deleteFailures;
    std::string changed;  // what is in the backup and was changed, for a stopped repair
    bool stopped = false;
    std::vector<bool> repaired(static_cast<std::size_t>(count), false);
    for (int i = count - 1; i >= 0; --i) {
        if (!ticked(i))
            continue;
        const RunEntryFix& fix = findings.At(i);
        std::string& failures = fix.newData.empty() ? deleteFailures : changeFailures;
        // Changing a value the backup cannot give back would lose its old data for good.
        if (!RegBackupWriter::CanRecordName(fix.valueName)) {
            failures += FailureLine(fix);
            continue;
        }
        RegKey key = 0;
        if (registry_.OpenKey(RootFromName(fix.rootName), RunSubKey(fix.keyName), RegAccess::Write, key) !=
            kErrorSuccess) {
            failures += FailureLine(fix);
            continue;
        }
        if (!backup.WriteValue(RunKeyFullPath(fix.rootName, fix.keyName), fix.valueName, fix.oldData)) {
            registry_.CloseKey(key);
            stopped = true;
            break;
        }
        const long status = fix.newData.empty() ? registry_.DeleteValue(key, fix.valueName)
                                                : registry_.SetStringValue(key, fix.valueName, fix.newData);
        registry_.CloseKey(key);
        if (status != kErrorSuccess) {
            failures += FailureLine(fix);
            continue;
        }
        changed += FailureLine(fix);
        repaired[static_cast<std::size_t>(i)] = true;
    }
    // Erased in one pass after the walk: erasing each as it goes moves every later finding
    // each time, quadratic in long lists. The walk never looks above i, so it sees the same.
    findings.EraseFlagged(repaired);
    // Every recorded line is on disk already; a missing final line end loses nothing.
    backup.Finish();
    if (request.refill)
        request.refill();

    std::string outcome;
    if (stopped) {
        outcome = texts_.Load(IDS_REPAIR_STOPPED);
        if (changed.empty())
            outcome += texts_.Load(IDS_STOPPED_NOTHING_CHANGED);
        else
            outcome += FormatText(texts_.Load(IDS_STOPPED_CHANGED), {changed});
        if (!changeFailures.empty())
            outcome += FormatText(texts_.Load(IDS_CHANGE_FAILURES), {changeFailures});
        if (!deleteFailures.empty())
            outcome += FormatText(texts_.Load(IDS_DELETE_FAILURES), {deleteFailures});
        outcome += FormatText(texts_.Load(IDS_STOPPED_BACKUP_FILE), {backupFileName});
    } else if (!changeFailures.empty() || !deleteFailures.empty()) {
        outcome = texts_.Load(IDS_REPAIR_ERRORS);
        if (!changeFailures.empty())
            outcome += FormatText(texts_.Load(IDS_CHANGE_FAILURES), {changeFailures});
        if (!deleteFailures.empty())
            outcome += FormatText(texts_.Load(IDS_DELETE_FAILURES), {deleteFailures});
        outcome += FormatText(texts_.Load(IDS_RESTORE_WITH_BACKUP), {backupFileName});
    } else {
        const int left = findings.Count();
        outcome = left == 0 ? texts_.Load(IDS_ALL_REPAIRED)
                            : FormatText(texts_.Load(IDS_SOME_REPAIRED), {rowCount - left, rowCount});
        outcome += FormatText(texts_.Load(IDS_BACKUP_CREATED), {backupFileName});
    }
    outcomeText = outcome;
    return findings.Count();
}

}  // namespace stlag
