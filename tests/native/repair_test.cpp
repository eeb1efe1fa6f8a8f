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

// One paragraph of the outcome: a string-table text and its arguments.
struct Paragraph { unsigned id; std::string a{}, b{}; };

TEST(RepairApplier, Scenarios)
{
    using R = RepairRefusal;
    const std::string one = kCuRun + "\\One\r\n", two = kLmRun + "\\Two\r\n", three = kLmRun + "\\Three\r\n";
    const std::vector<bool> all(3, true);
    const std::vector<std::string> allLeft = {"One", "Two", "Three"};
    const auto none = [](World&) {};
    const auto failWrite = [](const char* text) { return [text](World& w) { w.fs.failWriteHolding = text; }; };
    // left: the values the repair left as they were.
    const struct { const char* what; std::vector<bool> ticked; std::function<void(World&)> fault; R refusal;
                   unsigned warning; std::vector<std::string> left; std::vector<Paragraph> outcome; } scenarios[] = {
        {"all repaired", all, none, R::None, 0, {}, {{IDS_ALL_REPAIRED}, {IDS_BACKUP_CREATED, kBackup}}},
        {"one ticked, one past the end", {false, true}, none, R::None, 0, {"One", "Three"},
         {{IDS_SOME_REPAIRED, "1", "3"}, {IDS_BACKUP_CREATED, kBackup}}},
        {"change and deletion refused", all,
         [](World& w) { w.registry.setFailure = w.registry.deleteFailure = kErrorAccessDenied; }, R::None, 0, allLeft,
         {{IDS_REPAIR_ERRORS}, {IDS_CHANGE_FAILURES, two + one}, {IDS_DELETE_FAILURES, three},
          {IDS_RESTORE_WITH_BACKUP, kBackup}}},
        {"key not writable, name with a line feed", all, [](World& w) {
             w.registry.Deny(RegistryRoot::CurrentUser, RunSubKey("Run"), RegAccess::Write);
             w.findings[2].valueName = "Th\nree";  // which the backup cannot record
         }, R::None, 0, {"One", "Th\nree"},
         {{IDS_REPAIR_ERRORS}, {IDS_CHANGE_FAILURES, one}, {IDS_DELETE_FAILURES, kLmRun + "\\Th\nree\r\n"},
          {IDS_RESTORE_WITH_BACKUP, kBackup}}},
        {"backup fails at once", all, failWrite("gone"), R::None, 0, allLeft,
         {{IDS_REPAIR_STOPPED}, {IDS_STOPPED_NOTHING_CHANGED}, {IDS_STOPPED_BACKUP_FILE, kBackup}}},
        {"a failure before the stop", all,
         [](World& w) { w.registry.setFailure = kErrorAccessDenied, w.fs.failWriteHolding = "Program"; },
         R::None, 0, {"One", "Two"}, {{IDS_REPAIR_STOPPED}, {IDS_STOPPED_CHANGED, three}, {IDS_CHANGE_FAILURES, two},
                                      {IDS_STOPPED_BACKUP_FILE, kBackup}}},
        {"nothing ticked", {}, none, R::NothingTicked, IDS_NOTHING_TICKED, allLeft, {}},
        {"backup exists", all, [](World& w) { w.fs.files[kFile] = "mine"; }, R::BackupExists, IDS_BACKUP_EXISTS,
         allLeft, {}},
        {"backup not signed", all, failWrite("REGEDIT4"), R::BackupNotCreated, IDS_BACKUP_CREATE_FAILED, allLeft, {}},
        {"no findings", all, [](World& w) { w.findings.clear(); }, R::None, 0, {}, {{IDS_NO_FAULTS}}},
    };
    for (const auto& s : scenarios) {
        SCOPED_TRACE(s.what);
        World w;
        s.fault(w);
        const auto filesBefore = w.fs.files;
        const RepairResult result = w.Repair(s.ticked);
        EXPECT_EQ(result.refusal, s.refusal);
        EXPECT_EQ(result.warningTextId, s.warning);
        std::string outcome;
        for (const Paragraph& p : s.outcome)
            outcome += FormatText(w.texts.Load(p.id), {p.a, p.b});
        EXPECT_EQ(result.outcomeText, outcome);
        FindingList left;
        for (const Finding& f : w.findings) {
            const bool kept = std::count(s.left.begin(), s.left.end(), f.valueName) != 0;
            const MemoryValue* value = w.registry.Find(f.root, f.subKey, f.valueName);
            EXPECT_EQ(value ? value->data : "(deleted)",
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
// view's line names the path regedit restores it to.
TEST(RepairApplier, GoldenRun)
{
    World w;
    w.findings.push_back({"Old", " x", "x", RunSubKey("Run"), RegistryRoot::LocalMachine, RegistryView::Wow64});
    std::vector<std::string> onDiskAtChange;
    w.registry.onChange = [&w, &onDiskAtChange] { onDiskAtChange.push_back(w.fs.onDisk[kFile]); };
    EXPECT_TRUE(w.Repair(std::vector<bool>(4, true)).findingsLeft.empty());
    const std::string old = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Microsoft\\Windows\\"
                            "CurrentVersion\\Run]\n\"Old\"=\" x\"";
    const std::string three = old + "\n\n[" + kLmRun + "]\n\"Three\"=\"gone\"";
    const std::string two = three + "\n\"Two\"=\" two \"";
    const std::string one = two + "\n\n[" + kCuRun + "]\n\"One\"=\"C:\\\\Program Files\\\\a.exe\"";
    EXPECT_EQ(onDiskAtChange, (std::vector<std::string>{old, three, two, one}));
    EXPECT_EQ(w.fs.files[kFile], one + "\n");
}

// What an installer changed after the scan is neither backed up nor touched.
TEST(RepairApplier, LeavesWhatChangedSinceTheScan)
{
    World w;
    w.registry.onChange = [] { ADD_FAILURE() << "a value changed since the scan was touched"; };
    const RepairResult result = w.Repair(std::vector<bool>(3, true), [](MemoryRegistry& r) {
        r.Set(RegistryRoot::CurrentUser, RunSubKey("Run"), {"One", kRegExpandSz, "C:\\Program Files\\a.exe"});
        r.SetString(RegistryRoot::LocalMachine, RunSubKey("Run"), "Two", " new ");
        r.Remove(RegistryRoot::LocalMachine, RunSubKey("Run"), "Three");
    });
    EXPECT_EQ(result.findingsLeft, w.findings);
    EXPECT_EQ(w.fs.files[kFile], "REGEDIT4\n");
    EXPECT_EQ(result.outcomeText, Ansi("0 problem av 3 har lagats.\r\n\r\nDessa värden har ändrats sedan sökningen och "
                                       "lämnades som de var:\r\n") + kLmRun + "\\Three\r\n" + kLmRun + "\\Two\r\n" +
                                      kCuRun + "\\One" + FormatText(w.texts.Load(IDS_BACKUP_CREATED), {kBackup}));
}
