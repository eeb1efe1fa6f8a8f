#include "repair_undo.h"

#include <map>

#include "run_key_scanner.h"
#include "scan_scope.h"

namespace stlag {

namespace {

// old with one double quote put in at two places; a quote moved within a run of quotes is
// the same text, so the first difference is where the first one went.
bool IsQuotedFrom(const std::string& old, const std::string& now)
{
    if (now.size() != old.size() + 2)
        return false;
    std::size_t i = 0;
    while (i < old.size() && old[i] == now[i])
        ++i;
    if (now[i] != '"')
        return false;
    std::size_t j = i;
    while (j < old.size() && old[j] == now[j + 1])
        ++j;
    return now[j + 1] == '"' && old.compare(j, std::string::npos, now, j + 2, std::string::npos) == 0;
}

UndoItem Outcome(const BackupEntry& entry, UndoOutcome outcome, UndoRefusal refusal = UndoRefusal::None,
                 long status = kErrorSuccess)
{
    return {entry, outcome, refusal, status};
}

}  // namespace

bool IsRepairOf(const std::string& old, const std::string& now, const CodePage& codePage)
{
    return IsQuotedFrom(old, now) || (now != old && now == TrimWhiteSpace(old, codePage));
}

std::vector<UndoItem> RepairUndo::Undo(const ParsedBackup& backup) const
{
    // A value named twice would be written by whichever line comes last: neither is trusted.
    std::map<std::string, int> named;
    for (const BackupEntry& entry : backup.entries)
        ++named[lower_(entry.keyPath) + '\n' + lower_(entry.name)];
    std::vector<UndoItem> items;
    for (const BackupEntry& entry : backup.entries) {
        const bool twice = named[lower_(entry.keyPath) + '\n' + lower_(entry.name)] > 1;
        items.push_back(twice ? Outcome(entry, UndoOutcome::Refused, UndoRefusal::NamedTwice) : TakeBack(entry));
    }
    return items;
}

UndoItem RepairUndo::TakeBack(const BackupEntry& entry) const
{
    // A name or key with a line break is one the backup writer never records.
    if ((entry.type != kRegSz && entry.type != kRegExpandSz) || HoldsControlCharacter(entry.keyPath) ||
        HoldsControlCharacter(entry.name))
        return Outcome(entry, UndoOutcome::Refused, UndoRefusal::Form);
    const std::optional<ScanSection> section = ChangeableSection(entry.keyPath, entry.name, ownSid_, lower_);
    if (!section)
        return Outcome(entry, UndoOutcome::Refused, UndoRefusal::NotScanned);
    // The scan reads no longer name: no repair can have changed such a value.
    if (entry.name.size() > kValueNameLimit)
        return Outcome(entry, UndoOutcome::Refused, UndoRefusal::Form);
    const Judgement judged = JudgeByRule(checker_, *section, entry.name, entry.type, entry.data);
    if (judged.verdict != Verdict::Faulty)
        return Outcome(entry, UndoOutcome::Refused, UndoRefusal::NotFaulty);
    const ScopedKey key(registry_, section->root, section->view, section->subKey, RegAccess::Write);
    if (key.status() == kErrorSuccess)
        return Compare(entry, judged.newData, key.get());
    // A key gone while its hive is there was deleted since; a hive not loaded comes back later.
    const std::string hive = section->subKey.substr(0, section->subKey.find('\\'));
    const bool hiveLoaded = section->root != RegistryRoot::Users ||
                            ScopedKey(registry_, section->root, section->view, hive, RegAccess::Read).status() ==
                                kErrorSuccess;
    if (key.status() == kErrorFileNotFound && hiveLoaded)
        return Outcome(entry, UndoOutcome::ChangedSinceRepair);
    return Outcome(entry, UndoOutcome::Failed, UndoRefusal::None, key.status());
}

UndoItem RepairUndo::Compare(const BackupEntry& entry, const std::string& repaired, RegKey key) const
{
    RegValue now;
    long status = registry_.ReadNamedValue(key, entry.name, now);
    if (status != kErrorSuccess && status != kErrorFileNotFound)
        return Outcome(entry, UndoOutcome::Failed, UndoRefusal::None, status);
    // Absent is what a repair leaves only of a line it deletes; otherwise the value must be
    // what the repair of the old data gives, and that the old data with quotes or trimmed.
    const std::string text = WithoutTerminators(now.data);
    const bool sameKind = status == kErrorSuccess && now.dataRead && now.dataInCodePage && now.type == entry.type;
    if (sameKind && text == entry.data)
        return Outcome(entry, UndoOutcome::AlreadyRestored);
    const bool leftByRepair = status == kErrorFileNotFound
                                  ? repaired.empty()
                                  : sameKind && text == repaired && IsRepairOf(entry.data, text, codePage_);
    if (!leftByRepair)
        return Outcome(entry, UndoOutcome::ChangedSinceRepair);
    status = registry_.SetStringValue(key, entry.name, entry.data, entry.type);
    return status == kErrorSuccess ? Outcome(entry, UndoOutcome::Restored)
                                   : Outcome(entry, UndoOutcome::Failed, UndoRefusal::None, status);
}

}  // namespace stlag
