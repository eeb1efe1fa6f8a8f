// The engine wired to the running system: its registry, files, ANSI code page and the
// program's string table. The wizard and stlagc both scan and repair through it; backupAccess
// says who besides administrators may use a backup file that an elevated run makes.
#ifndef STLAG_LIVE_ENGINE_H
#define STLAG_LIVE_ENGINE_H

#include "command_line_checker.h"
#include "repair_applier.h"
#include "repair_undo.h"
#include "run_key_scanner.h"
#include "scan_scope.h"
#include "win32_platform.h"
#include "win32_registry.h"

namespace stlag {

class LiveEngine {
public:
    explicit LiveEngine(BackupAccess backupAccess = BackupAccess::AdministratorsOnly)
        : files_(backupAccess), checker_(files_, codePage_), lower_(codePage_) {}
    LiveEngine(const LiveEngine&) = delete;
    LiveEngine& operator=(const LiveEngine&) = delete;

    ScanResult Scan() { return RunKeyScanner(registry_, checker_, texts_).Scan(); }
    std::vector<ScanSection> Sections(ScanScope scope, bool allUsers)
    {
        return ScopeSections(registry_, scope, {allUsers, ProcessUserSid()}, lower_);
    }
    ScanResult Scan(const std::vector<ScanSection>& sections)
    {
        return RunKeyScanner(registry_, checker_, texts_).Scan(sections);
    }
    RepairResult Repair(const FindingList& findings, const RepairRequest& request)
    {
        return RepairApplier(registry_, files_, codePage_, texts_).Repair(findings, request);
    }
    std::vector<UndoItem> Undo(const ParsedBackup& backup)
    {
        return RepairUndo(registry_, checker_, codePage_, lower_, ProcessUserSid()).Undo(backup);
    }
    bool NameTaken(const std::string& utf8Path) const { return files_.NameTaken(utf8Path); }
    const Texts& texts() const { return texts_; }
    const CodePage& codePage() const { return codePage_; }
    const LowerCaser& lower() const { return lower_; }

private:
    Win32Registry registry_;
    Win32FileSystem files_;
    Win32CodePage codePage_;
    ResourceTexts texts_;
    CommandLineChecker checker_;
    LowerCaser lower_;
};

}  // namespace stlag

#endif
