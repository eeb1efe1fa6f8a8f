// The repair over Wine's real registry, and its backup file imported again by Wine's own
// regedit: the registry must come back exactly as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "process_runner.h"
#include "rc_texts.h"
#include "repair_applier.h"
#include "repair_fixture.h"
#include "start_keys.h"
#include "win32_platform.h"
#include "win32_registry.h"

namespace stlag {
namespace {

class RealRegistryRepair : public RepairFixture {
protected:
    int Repair(std::string& outcome)
    {
        RunKeyScanner scanner(registry, checker, codePage, texts);
        std::string log;
        const int found = scanner.ScanRunKeys(findings, log, nullptr);
        RepairRequest request;
        request.rowCount = found;
        request.isTicked = [](int) { return true; };
        request.backupFileName = [this] { return backup; };
        request.warn = [this](unsigned id) { warnings.push_back(id); };
        return RepairApplier(registry, files, codePage, texts).Repair(findings, request, outcome);
    }

    Win32Registry registry;
    Win32FileSystem files;
    Win32CodePage codePage;
    ResourceTexts texts;
    CommandLineChecker checker{files, codePage};
    RunEntryFixList findings;
    std::vector<unsigned> warnings;
};

TEST_F(RealRegistryRepair, RegeditPutsEveryOldValueBackByteForByte)
{
    SeedAwkwardValues();
    const std::vector<std::string> before = Snapshot();

    std::string outcome;
    EXPECT_EQ(0, Repair(outcome));
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(texts.Load(410) + FormatText(texts.Load(412), {backup}), outcome);

    // Deleted, rewritten, and left alone.
    EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, "Run", "quotes"));
    EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, "Run", "empty"));
    EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, "Run", "a\\b\"c"));
    EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, "RunOnce\\Setup", "setup"));
    EXPECT_EQ("\"" + SwedishProgram() + "\" /" + Ansi("ö"), AnsiData(HKEY_CURRENT_USER, "Run", "svenska"));
    EXPECT_EQ("C:\\windows\\notepad.exe", AnsiData(HKEY_CURRENT_USER, "Run", "crlf"));
    EXPECT_EQ("C:\\windows\\notepad.exe", AnsiData(HKEY_CURRENT_USER, "Run", ""));
    EXPECT_EQ("\"C:\\Program Files\\A\\a.exe\" /x", AnsiData(HKEY_CURRENT_USER, "Run", "ok"));
    EXPECT_NE(before, Snapshot());

    const std::string file = ReadBackup();
    EXPECT_EQ(0u, file.find("REGEDIT4\n\n["));
    EXPECT_EQ(std::string::npos, file.find('\r')) << "CR only ever appears as hex";
    for (const char* line : {"\n\"a\\\\b\\\"c\"=\"C:\\\\Program Files\\\\N\\\\n.exe\"\n",
                             "\n\"quotes\"=\"C:\\\\Program Files\\\\Q \\\"x\\\"\\\\q.exe /a \\\"b c\\\"\"\n",
                             "\n\"empty\"=\"\"\n", "\n\"\"=\"  C:\\\\windows\\\\notepad.exe\"\n",
                             "\n\"crlf\"=hex(1):43,3a,5c,77,69,6e,64,6f,77,73,5c,6e,6f,74,65,70,61,64,2e,65,78,\\\n"
                             "  65,0d,0a,00\n",
                             "\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\Setup]\n"
                             "\"setup\"=\"C:\\\\Program Files\\\\S\\\\s.exe /q\"\n"})
        EXPECT_NE(std::string::npos, file.find(line)) << line;
    EXPECT_NE(std::string::npos, file.find(Ansi("\n\"svenska\"=\"C:\\\\Program Files\\\\Åäö\\\\app.exe /ö\"\n")));
    EXPECT_EQ('\n', file.back());

    const ProcessResult regedit = ImportBackup();
    ASSERT_TRUE(regedit.started);
    EXPECT_EQ(0u, regedit.exitCode) << regedit.err;
    EXPECT_EQ(before, Snapshot());
}

TEST_F(RealRegistryRepair, ALongValueWithALineBreakComesBackThroughWrappedHexLines)
{
    const std::string data = Ansi("C:\\Program Files\\Långt namn\\") + std::string(300, 'x') + ".exe /a \"b\"\r\n";
    SetString(HKEY_LOCAL_MACHINE, "RunServices", "long", data);
    const std::vector<std::string> before = Snapshot();
    std::string outcome;
    EXPECT_EQ(0, Repair(outcome));
    EXPECT_EQ(data.substr(0, data.size() - 2), AnsiData(HKEY_LOCAL_MACHINE, "RunServices", "long"));
    EXPECT_NE(std::string::npos, ReadBackup().find(",\\\n  "));
    EXPECT_EQ(0u, ImportBackup().exitCode);
    EXPECT_EQ(before, Snapshot());
    EXPECT_EQ(data, AnsiData(HKEY_LOCAL_MACHINE, "RunServices", "long"));
}

TEST_F(RealRegistryRepair, AnExistingBackupFileIsRefusedAndNothingChanges)
{
    SeedAwkwardValues();
    const std::vector<std::string> before = Snapshot();
    ASSERT_TRUE(CreateFileWithFolders(backup));
    std::string outcome = "before";
    EXPECT_EQ(kRepairBackupExists, Repair(outcome));
    EXPECT_EQ(std::vector<unsigned>{300}, warnings);
    EXPECT_EQ("before", outcome);
    EXPECT_EQ("", ReadBackup());
    EXPECT_EQ(before, Snapshot());
}

TEST_F(RealRegistryRepair, ABackupInAMissingFolderIsRefusedAndNothingChanges)
{
    SeedAwkwardValues();
    const std::vector<std::string> before = Snapshot();
    backup = folder + "\\no such folder\\backup.reg";
    std::string outcome = "before";
    EXPECT_EQ(kRepairBackupNotCreated, Repair(outcome));
    EXPECT_EQ(std::vector<unsigned>{301}, warnings);
    EXPECT_EQ(before, Snapshot());
}

}  // namespace
}  // namespace stlag
