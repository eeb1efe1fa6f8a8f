// Takes a repair back from its backup file, writing only what the repair itself changed.
#ifndef STLAG_REPAIR_UNDO_H
#define STLAG_REPAIR_UNDO_H

#include <string>
#include <vector>

#include "ansi_text.h"
#include "backup_reader.h"
#include "command_line_checker.h"
#include "registry.h"

namespace stlag {

// Restored: written back. AlreadyRestored: the value holds its old data and type already.
// ChangedSinceRepair: it, or its key, is neither what the repair left nor the old data;
// left alone. Refused: no repair could have written it, so it is never written. Failed: the
// system did not let it be read or written, or its user's hive is not loaded; a later run
// may still restore it.
enum class UndoOutcome { Restored, AlreadyRestored, ChangedSinceRepair, Refused, Failed };

// Why an entry was refused: a key or value that no scan judges (or a path that names
// none), a form that no repair writes, old data that is not faulty by its scope's rule
// today, or a value the file names more than once.
enum class UndoRefusal { None, NotScanned, Form, NotFaulty, NamedTwice };

struct UndoItem {
    BackupEntry entry;
    UndoOutcome outcome = UndoOutcome::Refused;
    UndoRefusal refusal = UndoRefusal::None;
    long status = kErrorSuccess;  // with Failed: the system's answer
};

class RepairUndo {
public:
    // ownSid: the SID whose hive under HKEY_USERS is this process's own.
    RepairUndo(Registry& registry, const CommandLineChecker& checker, const CodePage& codePage,
               const LowerCaser& lower, std::string ownSid)
        : registry_(registry), checker_(checker), codePage_(codePage), lower_(lower), ownSid_(std::move(ownSid)) {}

    // One item per entry of a backup that was read, in the file's order. A value is written
    // back only when its key is one a scan judges, its name one the scan judges there, its old
    // data is faulty by that rule today, and it is now as the repair of that data leaves it
    // today: absent when the repair deletes, else of the same type and the repair's data,
    // which is the old data with one pair of quotes added or trimmed. Keys are never created.
    std::vector<UndoItem> Undo(const ParsedBackup& backup) const;

private:
    UndoItem TakeBack(const BackupEntry& entry) const;
    UndoItem Compare(const BackupEntry& entry, const std::string& repaired, RegKey key) const;

    Registry& registry_;
    const CommandLineChecker& checker_;
    const CodePage& codePage_;
    const LowerCaser& lower_;
    std::string ownSid_;
};

// Whether now is what a repair leaves of old: old with one pair of double quotes added, or
// old trimmed of its white space.
bool IsRepairOf(const std::string& old, const std::string& now, const CodePage& codePage);

}  // namespace stlag

#endif
