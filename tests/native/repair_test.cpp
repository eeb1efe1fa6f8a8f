// The repair read back through the registry, the backup file and the outcome text.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fakes.h"
#include "repair_applier.h"
#include "resource.h"
#include "text_format.h"

using namespace stlag;

static const std::string kBackup = "C:\\Backup\\b.reg", kFile = "c:\\backup\\b.reg";
static const std::string kCuRun = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
static const std::string kLmRun = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The outcome as it is shown, the backup's path in its place.
static std::string Shown(const PathText& outcome)
{
    const std::size_t at = outcome.pathAt == std::string::npos ? outcome.text.size() : outcome.pathAt;
    return outcome.text.substr(0, at) + outcome.path + outcome.text.substr(at);
}

struct World {
    MemoryRegistry registry;
    MemoryFileSystem fs;
    RcTexts texts;
    // Walked last first: Three and Two share a key, One has its own.
    FindingList findings = {
        {"One", "C:\\Program Files\\a.exe", "\"C:\\Program Files\\a.exe\"", RunSubKey("Run"), RegistryRoot::CurrentUser},
        {"Two", " two ", "two", RunSubKey("Run"), RegistryRoot::LocalMachine},
        {"Three", "gone", "", RunSubKey("Run"), RegistryRoot::LocalMachine}};
    // The findings' values as the scan read them, then the repair.
    RepairResult Repair(const std::vector<bool>& ticked,
                        const std::function<void(MemoryRegistry&)>& meanwhile = [](MemoryRegistry&) {})
    {
        for (const Finding& f : findings)
            registry.Set(f.root, f.subKey, {f.valueName, f.type, f.oldData + '\0'}, f.view);
        meanwhile(registry);
        return RepairApplier(registry, fs, FakeCodePage(), texts).Repair(findings, {ticked, kBackup});
    }
};

TEST(RepairApplier, Scenarios)
{
    using R = RepairRefusal;
    const std::string one = kCuRun + "\\One\r\n", two = kLmRun + "\\Two\r\n", three = kLmRun + "\\Three\r\n";
    const std::vector<bool> all(3, true);
    const std::vector<std::string> allLeft = {"One", "Two", "Three"};
    // One paragraph of the outcome: a string-table text and its arguments.
    const auto p = [texts = RcTexts()](unsigned id, const std::string& a = "", const std::string& b = "") {
        return FormatText(texts.Load(id), {a, b});
    };
    const std::string created = p(IDS_BACKUP_CREATED, kBackup), restore = p(IDS_RESTORE_WITH_BACKUP, kBackup),
                      stopped = p(IDS_STOPPED_BACKUP_FILE, kBackup);
    const auto failWrite = [](const char* text) { return [text](World& w) { w.fs.failWriteHolding = text; }; };
    // left: the values the repair left as they were.
    const struct { const char* what; std::vector<bool> ticked; std::vector<std::string> left; std::string outcome;
                   std::function<void(World&)> fault = [](World&) {}; R refusal = R::None; unsigned warning = 0; } scenarios[] = {
        {"all repaired", all, {}, p(IDS_ALL_REPAIRED) + created},
        {"one ticked, one past the end", {false, true}, {"One", "Three"}, p(IDS_SOME_REPAIRED, "1", "3") + created},
        {"change and deletion refused", all, allLeft,
         p(IDS_REPAIR_ERRORS) + p(IDS_CHANGE_FAILURES, two + one) + p(IDS_DELETE_FAILURES, three) + restore,
         [](World& w) { w.registry.setFailure = w.registry.deleteFailure = kErrorAccessDenied; }},
        {"key not writable, a name the backup cannot record", all, {"One", "Th\nree"},
         p(IDS_REPAIR_ERRORS) + p(IDS_CHANGE_FAILURES, one) + p(IDS_DELETE_FAILURES, kLmRun + "\\Th\nree\r\n") + restore,
         [](World& w) {
             w.registry.Deny(RegistryRoot::CurrentUser, RunSubKey("Run"), RegAccess::Write), w.findings[2].valueName = "Th\nree";
         }},
        {"backup fails at once", all, allLeft, p(IDS_REPAIR_STOPPED) + p(IDS_STOPPED_NOTHING_CHANGED) + stopped, failWrite("gone")},
        {"a failure before the stop", all, {"One", "Two"},
         p(IDS_REPAIR_STOPPED) + p(IDS_STOPPED_CHANGED, three) + p(IDS_CHANGE_FAILURES, two) + stopped,
         [](World& w) { w.registry.setFailure = kErrorAccessDenied, w.fs.failWriteHolding = "Program"; }},
        {"nothing ticked", {}, allLeft, {}, [](World&) {}, R::NothingTicked, IDS_NOTHING_TICKED},
        {"backup exists", all, allLeft, {}, [](World& w) { w.fs.files[kFile] = "mine"; }, R::BackupExists, IDS_BACKUP_EXISTS},
        {"backup not signed", all, allLeft, {}, failWrite("REGEDIT4"), R::BackupNotCreated, IDS_BACKUP_CREATE_FAILED},
        {"no findings", all, {}, p(IDS_NO_FAULTS), [](World& w) { w.findings.clear(); }},
    };
    for (const auto& s : scenarios) {
        SCOPED_TRACE(s.what);
        World w;
        s.fault(w);
        const auto filesBefore = w.fs.files;
        const RepairResult result = w.Repair(s.ticked);
        EXPECT_EQ(result.refusal, s.refusal);
        EXPECT_EQ(result.warningTextId, s.warning);
        EXPECT_EQ(Shown(result.outcome), s.outcome);
        FindingList left;
        for (const Finding& f : w.findings) {
            const bool kept = std::count(s.left.begin(), s.left.end(), f.valueName) != 0;
            RegValue value;
            const ScopedKey key(w.registry, f.root, f.view, f.subKey, RegAccess::Read);
            EXPECT_EQ(w.registry.ReadNamedValue(key.get(), f.valueName, value) == kErrorSuccess ? value.data : "(deleted)",
                      kept ? f.oldData + '\0' : f.newData.empty() ? "(deleted)" : f.newData + '\0') << f.valueName;
            if (kept)
                left.push_back(f);
        }
        EXPECT_EQ(result.findingsLeft, left);
        // A refused repair, or one with nothing to do, leaves the files alone; any other makes the backup.
        EXPECT_EQ(w.fs.files == filesBefore, s.refusal != R::None || w.findings.empty());
    }
}

// Each line must be on disk before its value changes, and the walk goes last finding first. The 32-bit
// view's line names the path regedit restores it to; REG_EXPAND_SZ goes back with its type, recorded as hex(2).
// A full disk cuts the walk's last line short, in a section of its own: the backup ends on the last value changed.
TEST(RepairApplier, GoldenRun)
{
    World w;
    w.findings.push_back({"Old", " x", "x", RunSubKey("Run"), RegistryRoot::LocalMachine, RegistryView::Wow64, kRegExpandSz});
    w.findings.insert(w.findings.begin(), {"Cut", "C:\\Program Files\\Sakna", "", RunSubKey("Run"), RegistryRoot::LocalMachine});
    w.fs.failWriteHolding = "Sakna";
    std::vector<std::string> onDiskAtChange;
    w.registry.onChange = [&w, &onDiskAtChange] { onDiskAtChange.push_back(w.fs.onDisk[kFile]); };
    EXPECT_EQ(w.Repair(std::vector<bool>(5, true)).findingsLeft, FindingList{w.findings[0]});
    const std::string old = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Microsoft\\Windows\\"
                            "CurrentVersion\\Run]\n\"Old\"=hex(2):20,78,00";
    const std::string three = old + "\n\n[" + kLmRun + "]\n\"Three\"=\"gone\"", two = three + "\n\"Two\"=\" two \"";
    const std::string one = two + "\n\n[" + kCuRun + "]\n\"One\"=\"C:\\\\Program Files\\\\a.exe\"";
    EXPECT_EQ(onDiskAtChange, (std::vector<std::string>{old, three, two, one}));
    EXPECT_EQ(w.fs.files[kFile], one + "\n");
    RegValue written;
    const ScopedKey wow(w.registry, RegistryRoot::LocalMachine, RegistryView::Wow64, RunSubKey("Run"), RegAccess::Read);
    EXPECT_TRUE(w.registry.ReadNamedValue(wow.get(), "Old", written) == kErrorSuccess && written.type == kRegExpandSz);
}

// What an installer changed after the scan is neither backed up nor touched; a key gone is
// no right lacking.
TEST(RepairApplier, LeavesWhatChangedSinceTheScan)
{
    World w;
    w.findings.push_back({"Four", "x y", "", RunSubKey("RunOnce"), RegistryRoot::CurrentUser});
    w.registry.onChange = [] { ADD_FAILURE() << "a value changed since the scan was touched"; };
    const RepairResult result = w.Repair(std::vector<bool>(4, true), [](MemoryRegistry& r) {
        r.Remove(RegistryRoot::CurrentUser, RunSubKey("RunOnce"), "Four");
        r.Set(RegistryRoot::CurrentUser, RunSubKey("Run"), {"One", kRegExpandSz, "C:\\Program Files\\a.exe"});
        r.SetString(RegistryRoot::LocalMachine, RunSubKey("Run"), "Two", " new ");
        r.Remove(RegistryRoot::LocalMachine, RunSubKey("Run"), "Three");
    });
    EXPECT_EQ(result.findingsLeft, w.findings);
    EXPECT_EQ(w.fs.files[kFile], "REGEDIT4\n");
    EXPECT_EQ(Shown(result.outcome), Ansi("0 problem av 4 har lagats.\r\n\r\nDessa värden har ändrats sedan sökningen och "
                                       "lämnades som de var:\r\n") + kCuRun + "Once\\Four\r\n" + kLmRun + "\\Three\r\n" + kLmRun + "\\Two\r\n" +
                                      kCuRun + "\\One" + FormatText(w.texts.Load(IDS_BACKUP_CREATED), {kBackup}));
}
