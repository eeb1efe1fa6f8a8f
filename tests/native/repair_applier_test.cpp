#include "repair_applier.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "fakes.h"
#include "memory_registry.h"
#include "rc_texts.h"
#include "resource.h"

namespace stlag {
namespace {

const SingleByteCodePage singleByte;

const RegistryRoot kHkcu = RegistryRoot::CurrentUser;
const RegistryRoot kHklm = RegistryRoot::LocalMachine;
const std::string kBase = "Software\\Microsoft\\Windows\\CurrentVersion\\";
const std::string kPath = "C:\\WINDOWS\\Skrivbord\\Startlagaren 2004-03-07 091502.reg";
const std::string kFolded = "c:\\windows\\skrivbord\\startlagaren 2004-03-07 091502.reg";

const char kAllRepaired[] =
    "Alla problem har lagats! Nästa gång du startar datorn kommer du slippa programmappen eller systemmappen.";
const char kBackupCreated[] =
    "\r\n\r\nFör säkerhetsskull så har en backupfil skapats med namnet:\r\n"
    "C:\\WINDOWS\\Skrivbord\\Startlagaren 2004-03-07 091502.reg\r\n\r\n"
    "Om du får problem kan du dubbelklicka på denna fil för att återställa systemet som det var som innan "
    "ändringarna gjordes. Förmodligen behövs detta inte och då kan du kasta filen.";
const char kRepairErrors[] =
    "Det uppstod fel när problemen skulle lagas. Detta beror förmodligen på att du inte har rättigheter att göra "
    "ändringar i registret där problemen finns. Om du kör Windows NT/2000/XP måste du logga in som administratör "
    "för att laga de här problemen.\r\n\r\n";
const char kRestore[] =
    "De fel som gick att laga kan återställas med denna backupfil:\r\n"
    "C:\\WINDOWS\\Skrivbord\\Startlagaren 2004-03-07 091502.reg";
const char kStopped[] =
    "Lagningen avbröts eftersom det inte gick att skriva till backupfilen. Värdet som stod på tur och alla som "
    "återstod har lämnats som de var.\r\n\r\n";
const char kStoppedFile[] = "Backupfilen finns här:\r\nC:\\WINDOWS\\Skrivbord\\Startlagaren 2004-03-07 091502.reg";

// Sees every change the repair makes, with what the backup file held on disk at that moment.
class WatchedRegistry : public MemoryRegistry {
public:
    explicit WatchedRegistry(const MemoryFileSystem& files) : files_(files) {}
    long SetStringValue(RegKey key, const std::string& name, const std::string& data) override
    {
        changes.push_back({"set " + name, OnDisk()});
        return MemoryRegistry::SetStringValue(key, name, data);
    }
    long DeleteValue(RegKey key, const std::string& name) override
    {
        changes.push_back({"delete " + name, OnDisk()});
        return MemoryRegistry::DeleteValue(key, name);
    }
    struct Change {
        std::string what;
        std::string backupOnDisk;
    };
    std::vector<Change> changes;

private:
    std::string OnDisk() const
    {
        auto it = files_.flushed.find(kFolded);
        return it == files_.flushed.end() ? std::string() : it->second;
    }
    const MemoryFileSystem& files_;
};

class RepairTest : public ::testing::Test {
protected:
    // Seeds the value in the registry and lists it as a finding.
    void Add(const std::string& root, const std::string& key, const std::string& name, const std::string& oldData,
             const std::string& newData)
    {
        registry.SetString(RootFromName(root), kBase + key, name, oldData);
        findings.Append(RunEntryFix{name, oldData, newData, key, root});
    }
    void AddExample()
    {
        Add("HKEY_CURRENT_USER", "Run", "Baz", "C:\\Program Files\\Baz\\baz.exe", "");
        Add("HKEY_LOCAL_MACHINE", "Run", "Foo", "C:\\Program Files\\Foo\\foo.exe",
            "\"C:\\Program Files\\Foo\\foo.exe\"");
        Add("HKEY_LOCAL_MACHINE", "Run", "Bar", "C:\\Program Files\\Bar\\bar.exe /f \"x y\"",
            "\"C:\\Program Files\\Bar\\bar.exe\" /f \"x y\"");
    }
    // The data a value holds now, or "(none)".
    std::string Data(RegistryRoot root, const std::string& key, const std::string& name) const
    {
        const MemoryValue* v = registry.Find(root, kBase + key, name);
        return v ? v->data.substr(0, v->data.size() - 1) : "(none)";
    }
    int Repair()
    {
        RepairRequest request;
        request.rowCount = rowCount < 0 ? findings.Count() : rowCount;
        request.isTicked = [this](int row) {
            calls.push_back("tick " + std::to_string(row));
            return unticked.count(row) == 0;
        };
        request.backupFileName = [this] {
            calls.push_back("name");
            return kPath;
        };
        request.warn = [this](unsigned id) { warnings.push_back(id); };
        request.refill = [this] {
            ++refills;
            EXPECT_EQ(0, registry.OpenKeyCount()) << "every key is closed before the list is refilled";
        };
        return RepairApplier(registry, files, singleByte, texts).Repair(findings, request, outcome);
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < findings.Count(); ++i)
            names.push_back(findings.At(i).valueName);
        return names;
    }
    void ExpectRefusal(int result, unsigned warning)
    {
        EXPECT_EQ(std::vector<unsigned>{warning}, warnings);
        EXPECT_EQ("before", outcome);
        EXPECT_EQ(0, refills);
        EXPECT_EQ(before, Names());
        EXPECT_TRUE(registry.changes.empty());
        EXPECT_EQ(0, files.writeCount);
        (void)result;
    }

    MemoryFileSystem files;
    WatchedRegistry registry{files};
    RcTexts texts;
    RunEntryFixList findings;
    std::set<int> unticked;
    int rowCount = -1;  // the number of findings unless set
    std::vector<std::string> calls;
    std::vector<unsigned> warnings;
    int refills = 0;
    std::string outcome = "before";
    std::vector<std::string> before;
};

TEST_F(RepairTest, NoFindingsDoesNothingAtAll)
{
    EXPECT_EQ(0, Repair());
    EXPECT_EQ("before", outcome);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(warnings.empty());
    EXPECT_TRUE(files.existenceQueries.empty());
    EXPECT_EQ(0, refills);
}

TEST_F(RepairTest, NothingTickedIsRefusedBeforeTheFileIsLookedAt)
{
    AddExample();
    before = Names();
    unticked = {0, 1, 2};
    EXPECT_EQ(kRepairNothingTicked, Repair());
    ExpectRefusal(kRepairNothingTicked, IDS_NOTHING_TICKED);
    EXPECT_EQ((std::vector<std::string>{"tick 0", "tick 1", "tick 2"}), calls);
    EXPECT_TRUE(files.existenceQueries.empty());
    EXPECT_FALSE(files.FileExists(kPath));
    EXPECT_EQ("C:\\Program Files\\Baz\\baz.exe", Data(kHkcu, "Run", "Baz"));
}

TEST_F(RepairTest, TheTickSearchStopsAtTheFirstTickedRow)
{
    AddExample();
    unticked = {0};
    Repair();
    ASSERT_LE(3u, calls.size());
    EXPECT_EQ((std::vector<std::string>{"tick 0", "tick 1", "name"}),
              std::vector<std::string>(calls.begin(), calls.begin() + 3));
}

TEST_F(RepairTest, RowsTheListDoesNotHaveAreNotTicked)
{
    AddExample();
    before = Names();
    rowCount = 0;
    EXPECT_EQ(kRepairNothingTicked, Repair());
    ExpectRefusal(kRepairNothingTicked, IDS_NOTHING_TICKED);
    EXPECT_TRUE(calls.empty());
}

TEST_F(RepairTest, AnExistingBackupFileIsRefusedAndKept)
{
    AddExample();
    before = Names();
    files.AddFile(kPath, "someone's file");
    EXPECT_EQ(kRepairBackupExists, Repair());
    ExpectRefusal(kRepairBackupExists, IDS_BACKUP_EXISTS);
    EXPECT_EQ(std::vector<std::string>{kPath}, files.existenceQueries);
    EXPECT_EQ("someone's file", files.Contents(kPath));
    EXPECT_EQ("C:\\Program Files\\Foo\\foo.exe", Data(kHklm, "Run", "Foo"));
}

TEST_F(RepairTest, ABackupFileThatCannotBeCreatedIsRefused)
{
    AddExample();
    before = Names();
    files.failCreate = true;
    EXPECT_EQ(kRepairBackupNotCreated, Repair());
    ExpectRefusal(kRepairBackupNotCreated, IDS_BACKUP_CREATE_FAILED);
    EXPECT_EQ("C:\\Program Files\\Bar\\bar.exe /f \"x y\"", Data(kHklm, "Run", "Bar"));
}

TEST_F(RepairTest, ASignatureThatDoesNotReachTheDiskIsRefusedLikeAFailedCreate)
{
    for (int which = 0; which < 2; ++which) {
        MemoryFileSystem fs;
        (which == 0 ? fs.failWriteNumber : fs.failFlushNumber) = 1;
        MemoryRegistry reg;
        RunEntryFixList list;
        reg.SetString(kHkcu, kBase + "Run", "a", "");
        list.Append(RunEntryFix{"a", "", "", "Run", "HKEY_CURRENT_USER"});
        std::vector<unsigned> warned;
        RepairRequest request;
        request.rowCount = 1;
        request.backupFileName = [] { return kPath; };
        request.warn = [&](unsigned id) { warned.push_back(id); };
        std::string text = "before";
        EXPECT_EQ(kRepairBackupNotCreated, RepairApplier(reg, fs, singleByte, texts).Repair(list, request, text));
        EXPECT_EQ(std::vector<unsigned>{IDS_BACKUP_CREATE_FAILED}, warned);
        EXPECT_EQ("before", text);
        EXPECT_NE(nullptr, reg.Find(kHkcu, kBase + "Run", "a"));
        EXPECT_EQ(1, list.Count());
    }
}

TEST_F(RepairTest, ThreeFindingExample)
{
    AddExample();
    EXPECT_EQ(0, Repair());
    EXPECT_EQ(std::string(
                  "REGEDIT4\n\n"
                  "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n"
                  "\"Bar\"=\"C:\\\\Program Files\\\\Bar\\\\bar.exe /f \\\"x y\\\"\"\n"
                  "\"Foo\"=\"C:\\\\Program Files\\\\Foo\\\\foo.exe\"\n\n"
                  "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n"
                  "\"Baz\"=\"C:\\\\Program Files\\\\Baz\\\\baz.exe\"\n"),
              files.Contents(kPath));
    EXPECT_EQ(275u, files.Contents(kPath).size());
    EXPECT_EQ("(none)", Data(kHkcu, "Run", "Baz"));
    EXPECT_EQ("\"C:\\Program Files\\Foo\\foo.exe\"", Data(kHklm, "Run", "Foo"));
    EXPECT_EQ("\"C:\\Program Files\\Bar\\bar.exe\" /f \"x y\"", Data(kHklm, "Run", "Bar"));
    EXPECT_EQ(0, findings.Count());
    EXPECT_EQ(1, refills);
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(Ansi(std::string(kAllRepaired) + kBackupCreated), outcome);
    EXPECT_EQ(0, registry.OpenKeyCount());
}

TEST_F(RepairTest, LastFindingFirstAndEachLineOnDiskBeforeItsChange)
{
    AddExample();
    Repair();
    const std::string header = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]";
    const std::string bar = "\n\"Bar\"=\"C:\\\\Program Files\\\\Bar\\\\bar.exe /f \\\"x y\\\"\"";
    const std::string foo = "\n\"Foo\"=\"C:\\\\Program Files\\\\Foo\\\\foo.exe\"";
    const std::string baz =
        "\n\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n\"Baz\"=\"C:\\\\Program "
        "Files\\\\Baz\\\\baz.exe\"";
    ASSERT_EQ(3u, registry.changes.size());
    EXPECT_EQ("set Bar", registry.changes[0].what);
    EXPECT_EQ(header + bar, registry.changes[0].backupOnDisk);
    EXPECT_EQ("set Foo", registry.changes[1].what);
    EXPECT_EQ(header + bar + foo, registry.changes[1].backupOnDisk);
    EXPECT_EQ("delete Baz", registry.changes[2].what);
    EXPECT_EQ(header + bar + foo + baz, registry.changes[2].backupOnDisk);
}

TEST_F(RepairTest, UntickedFindingsStayAndAreCounted)
{
    AddExample();
    unticked = {1};
    EXPECT_EQ(1, Repair());
    EXPECT_EQ(std::vector<std::string>{"Foo"}, Names());
    EXPECT_EQ("C:\\Program Files\\Foo\\foo.exe", Data(kHklm, "Run", "Foo"));
    EXPECT_EQ(std::string::npos, files.Contents(kPath).find("Foo"));
    EXPECT_EQ(Ansi(std::string("2 problem av 3 har lagats.") + kBackupCreated), outcome);
}

TEST_F(RepairTest, CountsUseTheRowCount)
{
    struct Case {
        std::set<int> unticked;
        int left;
        const char* count;
    } cases[] = {
        {{}, 0, nullptr},
        {{0}, 1, "3 problem av 4 har lagats."},
        {{0, 3}, 2, "2 problem av 4 har lagats."},
        {{0, 1, 2}, 3, "1 problem av 4 har lagats."},
    };
    for (const Case& c : cases) {
        MemoryFileSystem fs;
        MemoryRegistry reg;
        RunEntryFixList list;
        for (int i = 0; i < 4; ++i) {
            const std::string name = "v" + std::to_string(i);
            reg.SetString(kHklm, kBase + "RunOnce\\Setup", name, " x");
            list.Append(RunEntryFix{name, " x", "x", "RunOnce\\Setup", "HKEY_LOCAL_MACHINE"});
        }
        RepairRequest request;
        request.rowCount = 4;
        request.isTicked = [&](int row) { return c.unticked.count(row) == 0; };
        request.backupFileName = [] { return kPath; };
        std::string text;
        EXPECT_EQ(c.left, RepairApplier(reg, fs, singleByte, texts).Repair(list, request, text));
        EXPECT_EQ(c.left, list.Count());
        const std::string first = c.count ? c.count : kAllRepaired;
        EXPECT_EQ(Ansi(first + kBackupCreated), text);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(std::string(c.unticked.count(i) ? " x" : "x"),
                      reg.Find(kHklm, kBase + "RunOnce\\Setup", "v" + std::to_string(i))->data.c_str());
    }
}

TEST_F(RepairTest, AKeyThatWillNotOpenIsNamedAndStays)
{
    Add("HKEY_LOCAL_MACHINE", "Run", "Foo", "C:\\Program Files\\Foo\\foo.exe", "\"C:\\Program Files\\Foo\\foo.exe\"");
    registry.DenyAccess(kHklm, kBase + "Run", RegAccess::Write);
    EXPECT_EQ(1, Repair());
    EXPECT_EQ(Ansi(std::string(kRepairErrors) +
                   "Följande värden kunde inte ändras:\r\n"
                   "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Foo\r\n\r\n" +
                   kRestore),
              outcome);
    EXPECT_EQ(std::vector<std::string>{"Foo"}, Names());
    EXPECT_EQ("REGEDIT4\n", files.Contents(kPath));
    EXPECT_EQ("C:\\Program Files\\Foo\\foo.exe", Data(kHklm, "Run", "Foo"));
    EXPECT_EQ(1, refills);
}

TEST_F(RepairTest, FailureListsInVisitOrderChangesBeforeDeletions)
{
    Add("HKEY_CURRENT_USER", "Run", "ok", " a", "a");
    Add("HKEY_LOCAL_MACHINE", "Run", "A", " a", "a");
    Add("HKEY_LOCAL_MACHINE", "Run", "B", "", "");
    Add("HKEY_LOCAL_MACHINE", "RunOnce", "C", " c", "c");
    Add("HKEY_LOCAL_MACHINE", "RunOnce", "D", "", "");
    registry.DenyAccess(kHklm, kBase + "Run", RegAccess::Write);
    registry.DenyAccess(kHklm, kBase + "RunOnce", RegAccess::Write);
    EXPECT_EQ(4, Repair());
    const std::string run = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\";
    const std::string runOnce = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\";
    EXPECT_EQ(Ansi(std::string(kRepairErrors) + "Följande värden kunde inte ändras:\r\n" + runOnce + "C\r\n" + run +
                   "A\r\n\r\n" + "Följande värden kunde inte raderas:\r\n" + runOnce + "D\r\n" + run + "B\r\n\r\n" +
                   kRestore),
              outcome);
    EXPECT_EQ((std::vector<std::string>{"A", "B", "C", "D"}), Names());
    EXPECT_EQ("a", Data(kHkcu, "Run", "ok"));
    EXPECT_EQ("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n\"ok\"=\" a\"\n",
              files.Contents(kPath));
}

TEST_F(RepairTest, OnlyDeletionFailuresGive312Alone)
{
    Add("HKEY_LOCAL_MACHINE", "RunServices", "gone", "   ", "");
    registry.DenyAccess(kHklm, kBase + "RunServices", RegAccess::Write);
    EXPECT_EQ(1, Repair());
    EXPECT_EQ(Ansi(std::string(kRepairErrors) + "Följande värden kunde inte raderas:\r\n" +
                   "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices\\gone\r\n\r\n" +
                   kRestore),
              outcome);
}

TEST_F(RepairTest, OnlyExactlyHkeyCurrentUserSelectsTheCurrentUser)
{
    Add("HKEY_CURRENT_USER", "Run", "exact", "", "");
    registry.SetString(kHklm, kBase + "Run", "lower", "");
    findings.Append(RunEntryFix{"lower", "", "", "Run", "hkey_current_user"});
    registry.SetString(kHkcu, kBase + "Run", "lower", "");  // must stay: the finding points at HKLM
    EXPECT_EQ(0, Repair());
    EXPECT_EQ("(none)", Data(kHkcu, "Run", "exact"));
    EXPECT_EQ("(none)", Data(kHklm, "Run", "lower"));
    EXPECT_EQ("", Data(kHkcu, "Run", "lower"));
    EXPECT_NE(std::string::npos,
              files.Contents(kPath).find("[hkey_current_user\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]"));
}

TEST_F(RepairTest, AMissingKeyIsAFailure)
{
    findings.Append(RunEntryFix{"x", "C:\\a b\\x.exe", "", "RunServicesOnce", "HKEY_LOCAL_MACHINE"});
    EXPECT_EQ(1, Repair());
    EXPECT_EQ(0u, outcome.find(Ansi(kRepairErrors)));
    EXPECT_EQ("REGEDIT4\n", files.Contents(kPath));
}

TEST_F(RepairTest, ARefusedChangeOrDeletionIsAFailure)
{
    struct Case {
        long setFailure, deleteFailure;
        std::vector<std::string> left;
        std::string listed;
    } cases[] = {
        {kErrorAccessDenied, 0, {"change"}, "Följande värden kunde inte ändras:\r\nHKEY_CURRENT_USER\\" + kBase +
                                               "Run\\change\r\n\r\n"},
        {0, kErrorAccessDenied, {"delete"}, "Följande värden kunde inte raderas:\r\nHKEY_CURRENT_USER\\" + kBase +
                                               "Run\\delete\r\n\r\n"},
        {kErrorAccessDenied, kErrorAccessDenied, {"delete", "change"},
         "Följande värden kunde inte ändras:\r\nHKEY_CURRENT_USER\\" + kBase + "Run\\change\r\n\r\n" +
             "Följande värden kunde inte raderas:\r\nHKEY_CURRENT_USER\\" + kBase + "Run\\delete\r\n\r\n"},
    };
    for (const Case& c : cases) {
        MemoryFileSystem fs;
        MemoryRegistry reg;
        reg.SetString(kHkcu, kBase + "Run", "delete", "");
        reg.SetString(kHkcu, kBase + "Run", "change", " x");
        RunEntryFixList list;
        list.Append(RunEntryFix{"delete", "", "", "Run", "HKEY_CURRENT_USER"});
        list.Append(RunEntryFix{"change", " x", "x", "Run", "HKEY_CURRENT_USER"});
        reg.setFailure = c.setFailure;
        reg.deleteFailure = c.deleteFailure;
        RepairRequest request;
        request.rowCount = 2;
        request.backupFileName = [] { return kPath; };
        std::string text;
        EXPECT_EQ(static_cast<int>(c.left.size()), RepairApplier(reg, fs, singleByte, texts).Repair(list, request, text));
        std::vector<std::string> left;
        for (int i = 0; i < list.Count(); ++i)
            left.push_back(list.At(i).valueName);
        EXPECT_EQ(c.left, left);
        EXPECT_EQ(Ansi(kRepairErrors + c.listed + kRestore), text);
        EXPECT_EQ(std::string(c.setFailure ? " x" : "x"), reg.Find(kHkcu, kBase + "Run", "change")->data.c_str());
        EXPECT_EQ(c.deleteFailure != 0, reg.Find(kHkcu, kBase + "Run", "delete") != nullptr);
        EXPECT_EQ(0, reg.OpenKeyCount());
        // Both old values are in the backup either way: restoring an unchanged one does no harm.
        EXPECT_EQ("REGEDIT4\n\n[HKEY_CURRENT_USER\\" + kBase + "Run]\n\"change\"=\" x\"\n\"delete\"=\"\"\n",
                  fs.Contents(kPath));
    }
}

TEST_F(RepairTest, ANameTheBackupCannotHoldIsNotChanged)
{
    Add("HKEY_CURRENT_USER", "Run", "two\nlines", " x", "x");
    Add("HKEY_CURRENT_USER", "Run", "fine", " y", "y");
    EXPECT_EQ(1, Repair());
    EXPECT_EQ(" x", Data(kHkcu, "Run", "two\nlines"));
    EXPECT_EQ("y", Data(kHkcu, "Run", "fine"));
    EXPECT_EQ(std::vector<std::string>{"two\nlines"}, Names());
    EXPECT_EQ(Ansi(std::string(kRepairErrors) + "Följande värden kunde inte ändras:\r\nHKEY_CURRENT_USER\\" + kBase +
                   "Run\\two\nlines\r\n\r\n" + kRestore),
              outcome);
    EXPECT_EQ(std::string::npos, files.Contents(kPath).find("two"));
}

TEST_F(RepairTest, AFailedBackupWriteStopsBeforeThatValueChanges)
{
    // Writes: 1 signature, 2 header and 3 line of Bar, 4 line of Foo, 5 header and 6 line of Baz.
    // Flushes: 1 signature, 2 Bar, 3 Foo, 4 Baz.
    const std::string bar = "HKEY_LOCAL_MACHINE\\" + kBase + "Run\\Bar\r\n";
    const std::string foo = "HKEY_LOCAL_MACHINE\\" + kBase + "Run\\Foo\r\n";
    struct Case {
        int failWrite, failFlush;
        std::vector<std::string> left;
        std::string changed;
    } cases[] = {
        {2, 0, {"Baz", "Foo", "Bar"}, ""},
        {3, 0, {"Baz", "Foo", "Bar"}, ""},
        {0, 2, {"Baz", "Foo", "Bar"}, ""},
        {4, 0, {"Baz", "Foo"}, bar},
        {0, 3, {"Baz", "Foo"}, bar},
        {5, 0, {"Baz"}, bar + foo},
        {6, 0, {"Baz"}, bar + foo},
        {0, 4, {"Baz"}, bar + foo},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("write " + std::to_string(c.failWrite) + " flush " + std::to_string(c.failFlush));
        MemoryFileSystem fs;
        fs.failWriteNumber = c.failWrite;
        fs.failFlushNumber = c.failFlush;
        MemoryRegistry reg;
        RunEntryFixList list;
        const RunEntryFix example[] = {
            {"Baz", "C:\\Program Files\\Baz\\baz.exe", "", "Run", "HKEY_CURRENT_USER"},
            {"Foo", "C:\\Program Files\\Foo\\foo.exe", "\"C:\\Program Files\\Foo\\foo.exe\"", "Run",
             "HKEY_LOCAL_MACHINE"},
            {"Bar", "C:\\Program Files\\Bar\\bar.exe", "\"C:\\Program Files\\Bar\\bar.exe\"", "Run",
             "HKEY_LOCAL_MACHINE"},
        };
        for (const RunEntryFix& fix : example) {
            reg.SetString(RootFromName(fix.rootName), kBase + fix.keyName, fix.valueName, fix.oldData);
            list.Append(fix);
        }
        int refilled = 0;
        RepairRequest request;
        request.rowCount = 3;
        request.backupFileName = [] { return kPath; };
        request.refill = [&] { ++refilled; };
        std::vector<unsigned> warned;
        request.warn = [&](unsigned id) { warned.push_back(id); };
        std::string text;
        EXPECT_EQ(static_cast<int>(c.left.size()), RepairApplier(reg, fs, singleByte, texts).Repair(list, request, text));
        std::vector<std::string> left;
        for (int i = 0; i < list.Count(); ++i)
            left.push_back(list.At(i).valueName);
        EXPECT_EQ(c.left, left);
        EXPECT_EQ(1, refilled);
        EXPECT_TRUE(warned.empty());
        EXPECT_EQ(0, reg.OpenKeyCount());
        for (const RunEntryFix& fix : example) {
            const MemoryValue* v = reg.Find(RootFromName(fix.rootName), kBase + fix.keyName, fix.valueName);
            const bool stays = std::find(left.begin(), left.end(), fix.valueName) != left.end();
            if (stays) {
                EXPECT_EQ(fix.oldData + '\0', v ? v->data : "(none)") << fix.valueName;
            } else {
                if (fix.newData.empty()) {
                    EXPECT_EQ(nullptr, v) << fix.valueName;
                } else {
                    EXPECT_EQ(fix.newData + '\0', v ? v->data : "(none)") << fix.valueName;
                }
                EXPECT_NE(std::string::npos, fs.flushed[kFolded].find("\"" + fix.valueName + "\"="));
            }
        }
        const std::string middle = c.changed.empty()
                                       ? Ansi("Inga värden hann ändras innan lagningen avbröts.\r\n\r\n")
                                       : Ansi("Följande värden hann ändras innan lagningen avbröts. Deras gamla "
                                              "värden finns i backupfilen:\r\n") +
                                             c.changed + "\r\n";
        EXPECT_EQ(Ansi(kStopped) + middle + Ansi(kStoppedFile), text);
    }
}

TEST_F(RepairTest, AStoppedRepairAlsoNamesEarlierFailures)
{
    Add("HKEY_CURRENT_USER", "Run", "first", " a", "a");
    Add("HKEY_LOCAL_MACHINE", "RunOnce", "locked", "", "");
    Add("HKEY_LOCAL_MACHINE", "Run", "last", " b", "b");
    registry.DenyAccess(kHklm, kBase + "RunOnce", RegAccess::Write);
    files.failWriteNumber = 4;  // signature, header and line of "last", then the header of "first"
    EXPECT_EQ(2, Repair());
    EXPECT_EQ(Ansi(std::string(kStopped) +
                   "Följande värden hann ändras innan lagningen avbröts. Deras gamla värden finns i backupfilen:\r\n" +
                   "HKEY_LOCAL_MACHINE\\" + kBase + "Run\\last\r\n\r\n" +
                   "Följande värden kunde inte raderas:\r\nHKEY_LOCAL_MACHINE\\" + kBase + "RunOnce\\locked\r\n\r\n" +
                   kStoppedFile),
              outcome);
    EXPECT_EQ((std::vector<std::string>{"first", "locked"}), Names());
    EXPECT_EQ(" a", Data(kHkcu, "Run", "first"));
    EXPECT_EQ("b", Data(kHklm, "Run", "last"));
    EXPECT_EQ(1, refills);
}

TEST_F(RepairTest, EveryKeyFailingStillLeavesTheSignatureFile)
{
    Add("HKEY_LOCAL_MACHINE", "Run", "a", "", "");
    Add("HKEY_LOCAL_MACHINE", "Run", "b", " b", "b");
    registry.DenyAccess(kHklm, kBase + "Run", RegAccess::Write);
    EXPECT_EQ(2, Repair());
    EXPECT_EQ("REGEDIT4\n", files.Contents(kPath));
    EXPECT_TRUE(registry.changes.empty());
}

}  // namespace
}  // namespace stlag
