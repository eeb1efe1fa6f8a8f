// A repair taken back from its backup file: what the file says, and what of it is written.
#include <gtest/gtest.h>

#include "backup_folder.h"
#include "fakes.h"
#include "repair_undo.h"
#include "undo_report.h"

using namespace stlag;

// Lines the registry editor reads that no repair writes are entries to refuse; anything it
// would not read ends the reading at that line.
TEST(ReadBackup, FormsAndFaults)
{
    const FakeCodePage codePage;
    const struct { std::string body; std::vector<BackupEntry> entries; std::size_t errorLine; } cases[] = {
        {"[K]\r\n@=\"a\"\r\n\"d\"=dword:00000001\r\n\"x\"=-\r\n", {{4, "K", "", "a", kRegSz}, {5, "K", "d"}, {6, "K", "x"}}, 0},
        {"[-K]\n\"v\"=\"a\"\n", {{3, "-K"}, {4, "-K", "v", "a", kRegSz}}, 0},
        {"; note\n[K]\n\"two\"=hex(1):61,00,62,00\n\"cut\"=hex(2):61\n\"b\"=hex:01,\\\n  02\n",
         {{5, "K", "two"}, {6, "K", "cut"}, {7, "K", "b"}}, 0},
        {"\"v\"=\"a\"\n", {}, 3},  // before any section
        {"[K]\n\"v\"=\"a\n", {}, 4},
        {"[K]\n\"v\"=\"a\\n\"\n", {}, 4},  // no escape but \\ and \"
        {std::string("[K]\n\"v\"=\"a\0b\"\n", 13), {}, 4},  // a NUL would hide what follows
        {"[K]\n\"v\" = \"a\"\n", {}, 4},
        {"[K]\n\"v\"=hex(1):6,00\n", {}, 4},
        {"[K\n", {}, 3},
        {"[K]\nv=\"a\"\n", {}, 4},
    };
    for (const auto& c : cases) {
        const ParsedBackup parsed = ReadBackup("REGEDIT4\n\n" + c.body, codePage);
        EXPECT_EQ(c.errorLine == 0, parsed.read) << c.body;
        EXPECT_EQ(c.errorLine, parsed.errorLine) << c.body;
        ASSERT_EQ(c.errorLine == 0 ? c.entries.size() : parsed.entries.size(), parsed.entries.size()) << c.body;
        for (std::size_t i = 0; c.errorLine == 0 && i < c.entries.size(); ++i) {
            const BackupEntry& e = parsed.entries[i];
            EXPECT_TRUE(e.line == c.entries[i].line && e.keyPath == c.entries[i].keyPath && e.name == c.entries[i].name &&
                        e.data == c.entries[i].data && e.type == c.entries[i].type) << c.body << " #" << i;
        }
    }
    EXPECT_FALSE(ReadBackup("Windows Registry Editor Version 5.00\n\n[K]\n", codePage).read);
}

namespace {

const std::string kRun = RunSubKey("Run"), kUninstall = RunSubKey("Uninstall") + "\\App";
const std::string kWinlogon = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const std::string kTool = "C:\\Program Files\\Tool\\t.exe", kQuoted = "\"C:\\Program Files\\Tool\\t.exe\"";
const std::string kOther = "S-1-5-21-7-7-7-1001", kOwn = "S-1-5-21-0-0-0-1000";

// A value as it lies now: absent when type is kRegNone.
struct Now {
    unsigned long type;
    std::string data;
};

}  // namespace

// Each value of a backup against the registry now: written back only when a scan judges its
// key and name, its old data is faulty today, and it is as the repair left it.
TEST(RepairUndo, WritesOnlyWhatARepairChanged)
{
    using O = UndoOutcome;
    using R = UndoRefusal;
    const Now absent{kRegNone, ""};
    const struct { const char* what; RegistryRoot root; std::string subKey; RegistryView view; std::string name, old;
                   unsigned long type; Now now; O outcome; R refusal = R::None; } cases[] = {
        {"quoted", RegistryRoot::CurrentUser, kRun, RegistryView::Native, "A", kTool + " /q", kRegSz, {kRegSz, kQuoted + " /q"}, O::Restored},
        {"deleted", RegistryRoot::LocalMachine, kRun, RegistryView::Wow64, "B", "C:\\Gone Dir\\x.exe", kRegSz, absent, O::Restored},
        {"trimmed", RegistryRoot::Users, kOther + "\\" + kRun, RegistryView::Native, "C", " t.exe ", kRegExpandSz, {kRegExpandSz, "t.exe"}, O::Restored},
        {"uninstall", RegistryRoot::LocalMachine, kUninstall, RegistryView::Wow64, "UninstallString", kTool, kRegSz, {kRegSz, kQuoted}, O::Restored},
        {"already", RegistryRoot::CurrentUser, kRun, RegistryView::Native, "A", kTool, kRegSz, {kRegSz, kTool}, O::AlreadyRestored},
        {"changed", RegistryRoot::CurrentUser, kRun, RegistryView::Native, "A", kTool, kRegSz, {kRegSz, "C:\\mine.exe"}, O::ChangedSinceRepair},
        {"retyped", RegistryRoot::CurrentUser, kRun, RegistryView::Native, "A", kTool, kRegSz, {kRegExpandSz, kQuoted}, O::ChangedSinceRepair},
        {"quoted twice", RegistryRoot::CurrentUser, kRun, RegistryView::Native, "A", kTool, kRegSz, {kRegSz, "\"" + kQuoted + "\""}, O::ChangedSinceRepair},
        {"absent, not deleted", RegistryRoot::CurrentUser, kRun, RegistryView::Native, "A", kTool + " /p", kRegSz, absent, O::ChangedSinceRepair},
        {"absent, never deleted", RegistryRoot::LocalMachine, kUninstall, RegistryView::Native, "UninstallString", kTool, kRegSz, absent, O::ChangedSinceRepair},
        {"quoted whole", RegistryRoot::CurrentUser, kRun, RegistryView::Native, "A", kTool + " /u", kRegSz, {kRegSz, "\"" + kTool + " /u\""}, O::ChangedSinceRepair},
        {"not faulty", RegistryRoot::CurrentUser, kRun, RegistryView::Native, "A", kQuoted, kRegSz, absent, O::Refused, R::NotFaulty},
        {"outside", RegistryRoot::LocalMachine, "Software\\Evil", RegistryView::Native, "A", kTool, kRegSz, absent, O::Refused, R::NotScanned},
        {"below an entry", RegistryRoot::CurrentUser, kUninstall + "\\X", RegistryView::Native, "UninstallString", kTool, kRegSz, absent, O::Refused, R::NotScanned},
        {"other value", RegistryRoot::LocalMachine, kUninstall, RegistryView::Native, "DisplayIcon", kTool, kRegSz, absent, O::Refused, R::NotScanned},
        {"name too long", RegistryRoot::CurrentUser, kRun, RegistryView::Native, std::string(4096, 'n'), kTool, kRegSz, absent, O::Refused, R::Form},
        {"Userinit", RegistryRoot::LocalMachine, kWinlogon, RegistryView::Native, "Userinit", kTool + ",", kRegSz, absent, O::Refused, R::NotScanned},
        {"classes hive", RegistryRoot::Users, kOwn + "_Classes\\" + kRun, RegistryView::Native, "A", kTool, kRegSz, absent, O::Refused, R::NotScanned},
        {"hive not loaded", RegistryRoot::Users, "S-1-5-21-9\\" + kRun, RegistryView::Native, "A", kTool, kRegSz, absent, O::Failed},
    };
    const FakeCodePage codePage;
    const LowerCaser lower(codePage);
    for (const auto& c : cases) {
        MemoryRegistry registry;
        MemoryFileSystem fs;
        fs.files[MemoryFileSystem::Fold(kTool)];
        const CommandLineChecker checker(fs, codePage);
        if (c.outcome != O::Failed)
            registry.SetString(c.root, c.subKey, "Keeps the key", "x", c.view);
        if (c.now.type != kRegNone)
            registry.Set(c.root, c.subKey, {c.name, c.now.type, c.now.data + '\0'}, c.view);
        ParsedBackup backup;
        backup.entries = {{7, KeyFullPath(c.root, c.subKey, c.view), c.name, c.old, c.type}};
        const std::vector<UndoItem> items = RepairUndo(registry, checker, codePage, lower, kOwn).Undo(backup);
        EXPECT_TRUE(items.at(0).outcome == c.outcome && items[0].refusal == c.refusal) << c.what;
        RegKey key = 0;
        RegValue value;
        const bool there = registry.OpenKey(c.root, c.view, c.subKey, RegAccess::Read, key) == 0 &&
                           registry.ReadNamedValue(key, c.name, value) == 0;
        const Now expected = c.outcome == O::Restored ? Now{c.type, c.old} : c.now;
        EXPECT_EQ(expected.type != kRegNone, there) << c.what;
        EXPECT_TRUE(!there || (value.type == expected.type && value.data == expected.data + '\0')) << c.what;
    }
}

// A value named twice is refused both times; a key gone is a change; the summary and exit.
TEST(RepairUndo, TwiceGoneAndReported)
{
    const FakeCodePage codePage;
    MemoryRegistry registry;
    MemoryFileSystem fs;
    const CommandLineChecker checker(fs, codePage);
    const std::string run = KeyFullPath(RegistryRoot::CurrentUser, kRun);
    ParsedBackup backup;
    backup.entries = {{3, run, "A", "C:\\Gone Dir\\x.exe", kRegSz}, {4, run, "a", "C:\\Gone Dir\\y.exe", kRegSz},
                      {5, KeyFullPath(RegistryRoot::CurrentUser, kRun + "Once"), "B", "C:\\Gone Dir\\x.exe", kRegSz}};
    const std::vector<UndoItem> items = RepairUndo(registry, checker, codePage, LowerCaser(codePage), kOwn).Undo(backup);
    ASSERT_EQ(3u, items.size());
    EXPECT_TRUE(items[0].refusal == UndoRefusal::NamedTwice && items[1].refusal == UndoRefusal::NamedTwice);
    EXPECT_TRUE(items[2].outcome == UndoOutcome::ChangedSinceRepair);
    const UndoTally tally = TallyUndo(items, "C:\\b.reg", true);
    EXPECT_EQ(1, UndoExitCode(tally));
    EXPECT_TRUE(UndoFinished(tally));
    EXPECT_NE(std::string::npos, UndoJsonLines(items, tally, codePage).find("\"changed_since_repair\":1,\"refused\":2"));
}

// The newest of stlagc's time-named backups, by the time in its name.
TEST(NewestTimedBackup, ByTheTimeInItsName)
{
    EXPECT_EQ("STLAGC 2024-05-02 000000.reg",
              NewestTimedBackup({"stlagc 2024-05-01 235959.reg", "STLAGC 2024-05-02 000000.reg",
                                 "stlagc 2024-06-01 000000.reg.undone", "stlagc 2024-13-01 000000.reg",
                                 "stlagc 2025-01-01 000000.txt", "other 2026-01-01 000000.reg", "stlagc 2026-01-01.reg"},
                                "stlagc"));
    EXPECT_EQ("", NewestTimedBackup({"stlagc.reg"}, "stlagc"));
}
