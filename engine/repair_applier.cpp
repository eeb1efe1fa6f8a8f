#include "repair_applier.h"

#include "reg_backup_writer.h"
#include "resource.h"
#include "text_format.h"

namespace stlag {

namespace {

bool IsTicked(const RepairRequest& request, std::size_t index)
{
    return index < request.ticked.size() && request.ticked[index];
}

std::string KeyPath(const Finding& finding)
{
    return KeyFullPath(finding.root, finding.subKey, finding.view);
}

std::string PathLine(const Finding& finding)
{
    return KeyPath(finding) + "\\" + finding.valueName + "\r\n";
}

unsigned WarningTextId(RepairRefusal refusal)
{
    switch (refusal) {
    case RepairRefusal::NothingTicked: return IDS_NOTHING_TICKED;
    case RepairRefusal::BackupExists: return IDS_BACKUP_EXISTS;
    case RepairRefusal::BackupNotCreated: return IDS_BACKUP_CREATE_FAILED;
    default: return 0;
    }
}

}  // namespace

// What the walk over the ticked findings did, each list in the order the walk met them.
struct RepairApplier::Walk {
    std::string changeFailures;
    std::string deleteFailures;
    std::string changedSinceScan;
    std::string changed;  // in the backup and changed, for a stopped repair
    bool stopped = false;
    std::vector<RepairOutcome> outcomes;
};

RepairResult RepairApplier::Repair(const FindingList& findings, const RepairRequest& request) const
{
    RepairResult result;
    result.findingsLeft = findings;
    result.outcomes.assign(findings.size(), RepairOutcome::NotTried);
    if (findings.empty()) {
        result.outcome.text = texts_.Load(IDS_NO_FAULTS);
        return result;
    }
    result.refusal = Refusal(findings, request);
    RegBackupWriter backup(fileSystem_, codePage_);
    // Creation never replaces a file, so one that turned up since the test ends here too.
    if (result.refusal == RepairRefusal::None && !backup.Create(request.backupPath))
        result.refusal = RepairRefusal::BackupNotCreated;
    if (result.refusal != RepairRefusal::None) {
        result.warningTextId = WarningTextId(result.refusal);
        return result;
    }

    const Walk walk = WalkLastToFirst(findings, request, backup);
    // Every recorded line is on disk already; a missing final line end loses nothing.
    backup.Finish();
    result.findingsLeft.clear();
    for (std::size_t i = 0; i < findings.size(); ++i) {
        if (walk.outcomes[i] != RepairOutcome::Repaired)
            result.findingsLeft.push_back(findings[i]);
    }
    result.outcomes = walk.outcomes;
    result.backupStopped = walk.stopped;
    const int total = static_cast<int>(findings.size());
    const int left = static_cast<int>(result.findingsLeft.size());
    result.outcome = OutcomeText(walk, total - left, total, request.backupPath);
    return result;
}

RepairRefusal RepairApplier::Refusal(const FindingList& findings, const RepairRequest& request) const
{
    bool anyTicked = false;
    for (std::size_t i = 0; i < findings.size() && !anyTicked; ++i)
        anyTicked = IsTicked(request, i);
    if (!anyTicked)
        return RepairRefusal::NothingTicked;
    if (fileSystem_.NameTaken(request.backupPath))
        return RepairRefusal::BackupExists;
    return RepairRefusal::None;
}

RepairApplier::Walk RepairApplier::WalkLastToFirst(const FindingList& findings, const RepairRequest& request,
                                                   RegBackupWriter& backup) const
{
    Walk walk;
    walk.outcomes.assign(findings.size(), RepairOutcome::NotTried);
    for (std::size_t i = findings.size(); i-- > 0 && !walk.stopped;) {
        if (IsTicked(request, i))
            walk.outcomes[i] = RepairOne(findings[i], backup, walk);
    }
    return walk;
}

// Failures are added to the walk's lists as well.
RepairOutcome RepairApplier::RepairOne(const Finding& finding, RegBackupWriter& backup, Walk& walk) const
{
    std::string& failures = finding.newData.empty() ? walk.deleteFailures : walk.changeFailures;
    // Changing a value the backup cannot give back would lose its old data for good.
    if (!RegBackupWriter::CanRecordName(finding.valueName) || !RegBackupWriter::CanRecordKey(KeyPath(finding))) {
        failures += PathLine(finding);
        return RepairOutcome::Failed;
    }
    const ScopedKey key(registry_, finding.root, finding.view, finding.subKey, RegAccess::Write);
    // A key gone since the scan took its values along: they changed, and no right was lacking.
    if (key.status() == kErrorFileNotFound) {
        walk.changedSinceScan += PathLine(finding);
        return RepairOutcome::ChangedSinceScan;
    }
    if (key.status() != kErrorSuccess) {
        failures += PathLine(finding);
        return RepairOutcome::Failed;
    }
    if (!StillAsScanned(key.get(), finding)) {
        walk.changedSinceScan += PathLine(finding);
        return RepairOutcome::ChangedSinceScan;
    }
    if (!backup.WriteValue(KeyPath(finding), finding.valueName, finding.oldData, finding.type)) {
        walk.stopped = true;
        return RepairOutcome::NotTried;
    }
    const long status = finding.newData.empty()
                            ? registry_.DeleteValue(key.get(), finding.valueName)
                            : registry_.SetStringValue(key.get(), finding.valueName, finding.newData, finding.type);
    if (status != kErrorSuccess) {
        failures += PathLine(finding);
        return RepairOutcome::Failed;
    }
    walk.changed += PathLine(finding);
    return RepairOutcome::Repaired;
}

// Whatever changed it since (an installer, an uninstall), the value now is not what the
// backup would record, nor what the user agreed to change.
bool RepairApplier::StillAsScanned(RegKey key, const Finding& finding) const
{
    RegValue value;
    return registry_.ReadNamedValue(key, finding.valueName, value) == kErrorSuccess && value.type == finding.type &&
           value.dataRead && value.dataInCodePage && WithoutTerminators(value.data) == finding.oldData;
}

PathText RepairApplier::OutcomeText(const Walk& walk, int repairedCount, int total,
                                    const std::string& backupPath) const
{
    if (walk.stopped) {
        const std::string changed = walk.changed.empty() ? texts_.Load(IDS_STOPPED_NOTHING_CHANGED)
                                                         : FormatText(texts_.Load(IDS_STOPPED_CHANGED), {walk.changed});
        return WithPath(texts_.Load(IDS_REPAIR_STOPPED) + changed + FailureParagraphs(walk) +
                            FormatText(texts_.Load(IDS_STOPPED_BACKUP_FILE), {kPathMarker}),
                        backupPath);
    }
    if (!walk.changeFailures.empty() || !walk.deleteFailures.empty())
        return WithPath(texts_.Load(IDS_REPAIR_ERRORS) + FailureParagraphs(walk) +
                            FormatText(texts_.Load(IDS_RESTORE_WITH_BACKUP), {kPathMarker}),
                        backupPath);
    std::string repaired = repairedCount == total ? texts_.Load(IDS_ALL_REPAIRED)
                                                  : FormatText(texts_.Load(IDS_SOME_REPAIRED), {repairedCount, total});
    if (!walk.changedSinceScan.empty()) {
        // 412 opens with its own blank line.
        const std::string paragraph = FailureParagraphs(walk);
        repaired += "\r\n\r\n" + paragraph.substr(0, paragraph.find_last_not_of("\r\n") + 1);
    }
    return WithPath(repaired + FormatText(texts_.Load(IDS_BACKUP_CREATED), {kPathMarker}), backupPath);
}

std::string RepairApplier::FailureParagraphs(const Walk& walk) const
{
    std::string text;
    if (!walk.changeFailures.empty())
        text += FormatText(texts_.Load(IDS_CHANGE_FAILURES), {walk.changeFailures});
    if (!walk.deleteFailures.empty())
        text += FormatText(texts_.Load(IDS_DELETE_FAILURES), {walk.deleteFailures});
    if (!walk.changedSinceScan.empty())
        text += FormatText(texts_.Load(IDS_CHANGED_SINCE_SCAN), {walk.changedSinceScan});
    return text;
}

}  // namespace stlag
