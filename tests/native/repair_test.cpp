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

// Walked last first: Three and Two share a key, One has its own.
static FindingList Findings()
{
    const std::string run = RunSubKey("Run");
    return {{"One", "C:\\Program Files\\a.exe", "\"C:\\Program Files\\a.exe\"", run, "HKEY_CURRENT_USER"},
            {"Two", " two ", "two", run, "HKEY_LOCAL_MACHINE"},
            {"Three", "gone", "", run, "HKEY_LOCAL_MACHINE"}};
}

struct World {
    MemoryRegistry registry;
    MemoryFileSystem fs;
    FakeCodePage codePage;
    RcTexts texts;
    // The findings' values as the scan read them, then the repair.
    RepairResult Repair(const FindingList& findings, const std::vector<bool>& ticked,
                        const std::function<void(MemoryRegistry&)>& meanwhile = nullptr)
    {
        for (const Finding& f : findings)
            registry.Set(RootFromName(f.rootName), f.subKey, {f.valueName, f.type, f.oldData + '\0'}, f.view);
        if (meanwhile)
            meanwhile(registry);
        return RepairApplier(registry, fs, codePage, texts).Repair(findings, {ticked, kBackup});
    }
};

// One paragraph of the outcome: a string-table text and its arguments.
struct Part { unsigned id; std::string a{}, b{}; };

TEST(RepairApplier, Scenarios)
{
    using R = RepairRefusal;
    using Fault = std::function<void(World&, FindingList&)>;
    const std::string one = kCuRun + "\\One\r\n", two = kLmRun + "\\Two\r\n", three = kLmRun + "\\Three\r\n";
    const std::vector<bool> all(3, true);
    const std::vector<std::string> allLeft = {"One", "Two", "Three"};
    const auto failWrite = [](const char* text) -> Fault {
        return [text](World& w, FindingList&) { w.fs.failWriteHolding = text; };
    };
    const auto errors = [](unsigned listId, const std::string& list) {
        return std::vector<Part>{{IDS_REPAIR_ERRORS}, {listId, list}, {IDS_RESTORE_WITH_BACKUP, kBackup}};
    };
    const struct { const char* what; std::vector<bool> ticked; Fault fault; R refusal; unsigned warning;
                   std::vector<std::string> left; std::vector<Part> outcome; } scenarios[] = {
        {"all repaired", all, nullptr, R::None, 0, {}, {{IDS_ALL_REPAIRED}, {IDS_BACKUP_CREATED, kBackup}}},
        {"one ticked, one past the end", {false, true}, nullptr, R::None, 0, {"One", "Three"},
         {{IDS_SOME_REPAIRED, "1", "3"}, {IDS_BACKUP_CREATED, kBackup}}},
        {"change refused", all, [](World& w, FindingList&) { w.registry.setFailure = kErrorAccessDenied; }, R::None, 0,
         {"One", "Two"}, errors(IDS_CHANGE_FAILURES, two + one)},
        {"deletion refused", all, [](World& w, FindingList&) { w.registry.deleteFailure = kErrorAccessDenied; },
         R::None, 0, {"Three"}, errors(IDS_DELETE_FAILURES, three)},
        {"key not writable", all,
         [](World& w, FindingList&) { w.registry.Deny(RegistryRoot::CurrentUser, RunSubKey("Run"), RegAccess::Write); },
         R::None, 0, {"One"}, errors(IDS_CHANGE_FAILURES, one)},
        {"name with a line feed", all, [](World&, FindingList& f) { f[2].valueName = "Th\nree"; }, R::None, 0,
         {"Th\nree"}, errors(IDS_DELETE_FAILURES, kLmRun + "\\Th\nree\r\n")},
        {"backup fails at the second", all, failWrite(" two "), R::None, 0, {"One", "Two"},
         {{IDS_REPAIR_STOPPED}, {IDS_STOPPED_CHANGED, three}, {IDS_STOPPED_BACKUP_FILE, kBackup}}},
        {"backup fails at once", all, failWrite("gone"), R::None, 0, allLeft,
         {{IDS_REPAIR_STOPPED}, {IDS_STOPPED_NOTHING_CHANGED}, {IDS_STOPPED_BACKUP_FILE, kBackup}}},
        {"a failure before the stop", all,
         [](World& w, FindingList&) { w.registry.setFailure = kErrorAccessDenied, w.fs.failWriteHolding = "Program"; },
         R::None, 0, {"One", "Two"},
         {{IDS_REPAIR_STOPPED}, {IDS_STOPPED_CHANGED, three}, {IDS_CHANGE_FAILURES, two},
          {IDS_STOPPED_BACKUP_FILE, kBackup}}},
        {"nothing ticked", {}, nullptr, R::NothingTicked, IDS_NOTHING_TICKED, allLeft, {}},
        {"backup exists", all, [](World& w, FindingList&) { w.fs.files[kFile] = "mine"; }, R::BackupExists,
         IDS_BACKUP_EXISTS, allLeft, {}},
        {"backup not created", all, [](World& w, FindingList&) { w.fs.failCreate = true; }, R::BackupNotCreated,
         IDS_BACKUP_CREATE_FAILED, allLeft, {}},
        {"backup not signed", all, failWrite("REGEDIT4"), R::BackupNotCreated, IDS_BACKUP_CREATE_FAILED, allLeft, {}},
        {"no findings", all, [](World&, FindingList& f) { f.clear(); }, R::None, 0, {}, {{IDS_NO_FAULTS}}},
    };
    for (const auto& s : scenarios) {
        SCOPED_TRACE(s.what);
        World w;
        FindingList findings = Findings();
        if (s.fault)
            s.fault(w, findings);
        const auto filesBefore = w.fs.files;
        const RepairResult result = w.Repair(findings, s.ticked);
        EXPECT_EQ(result.refusal, s.refusal);
        EXPECT_EQ(result.warningTextId, s.warning);
        std::string outcome;
        for (const Part& part : s.outcome)
            outcome += FormatText(w.texts.Load(part.id), {part.a, part.b});
        EXPECT_EQ(result.outcomeText, outcome);
        FindingList left;
        for (const Finding& f : findings) {
            const bool kept = std::count(s.left.begin(), s.left.end(), f.valueName) != 0;
            const MemoryValue* value = w.registry.Find(RootFromName(f.rootName), f.subKey, f.valueName);
            EXPECT_EQ(value ? value->data : "(deleted)",
                      kept ? f.oldData + '\0' : f.newData.empty() ? "(deleted)" : f.newData + '\0') << f.valueName;
            if (kept)
                left.push_back(f);
        }
        EXPECT_EQ(result.findingsLeft, left);
        if (s.refusal != R::None || findings.empty())
            EXPECT_EQ(w.fs.files, filesBefore);
        else
            EXPECT_EQ(w.fs.files.count(kFile), 1u);
    }
}

// Each line must be on disk before its value changes, and the walk goes last finding first.
TEST(RepairApplier, GoldenRun)
{
    World w;
    std::vector<std::string> onDiskAtChange;
    w.registry.onChange = [&w, &onDiskAtChange] { onDiskAtChange.push_back(w.fs.onDisk[kFile]); };
    const RepairResult result = w.Repair(Findings(), {true, true, true});
    const std::string three = "REGEDIT4\n\n[" + kLmRun + "]\n\"Three\"=\"gone\"";
    const std::string two = three + "\n\"Two\"=\" two \"";
    const std::string one = two + "\n\n[" + kCuRun + "]\n\"One\"=\"C:\\\\Program Files\\\\a.exe\"";
    EXPECT_EQ(onDiskAtChange, (std::vector<std::string>{three, two, one}));
    EXPECT_EQ(w.fs.files[kFile], one + "\n");
    EXPECT_TRUE(result.findingsLeft.empty());
}

// What an installer changed after the scan is neither backed up nor touched.
TEST(RepairApplier, LeavesWhatChangedSinceTheScan)
{
    World w;
    const RepairResult result = w.Repair(Findings(), {true, true, true}, [](MemoryRegistry& r) {
        r.Set(RegistryRoot::CurrentUser, RunSubKey("Run"), {"One", kRegExpandSz, "C:\\Program Files\\a.exe"});
        r.SetString(RegistryRoot::LocalMachine, RunSubKey("Run"), "Two", " new ");
        r.Remove(RegistryRoot::LocalMachine, RunSubKey("Run"), "Three");
    });
    EXPECT_EQ(result.findingsLeft, Findings());
    EXPECT_EQ(w.fs.files[kFile], "REGEDIT4\n");
    EXPECT_EQ(w.registry.Find(RegistryRoot::LocalMachine, RunSubKey("Run"), "Two")->data, std::string(" new \0", 6));
    const std::string list = kLmRun + "\\Three\r\n" + kLmRun + "\\Two\r\n" + kCuRun + "\\One";
    EXPECT_EQ(result.outcomeText, Ansi("0 problem av 3 har lagats.\r\n\r\nDessa värden har ändrats sedan sökningen och "
                                       "lämnades som de var:\r\n") +
                                      list + FormatText(w.texts.Load(IDS_BACKUP_CREATED), {kBackup}));
}

// The 32-bit view's value is changed there, and its backup names the path regedit restores it to.
TEST(RepairApplier, ThirtyTwoBitView)
{
    World w;
    const Finding old{"Old", " x", "x", RunSubKey("Run"), "HKEY_LOCAL_MACHINE", RegistryView::Wow64};
    w.Repair({old}, {true});
    EXPECT_EQ(w.registry.Find(RegistryRoot::LocalMachine, RunSubKey("Run"), "Old", RegistryView::Wow64)->data,
              std::string("x\0", 2));
    EXPECT_EQ(w.registry.Find(RegistryRoot::LocalMachine, RunSubKey("Run"), "Old"), nullptr);
    EXPECT_EQ(w.fs.files[kFile],
              "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run]\n\"Old\"=\" x\"\n");
}
