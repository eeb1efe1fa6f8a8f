// stlagc.exe /repair as a remediation script sees it: the outcome on standard output,
// refusals on standard error, exit codes, and a backup that regedit takes back.
#include <gtest/gtest.h>

#include "process_runner.h"
#include "rc_texts.h"
#include "repair_fixture.h"
#include "resource.h"
#include "start_keys.h"
#include "text_format.h"

namespace stlag {
namespace {

class StlagcRepair : public RepairFixture {
protected:
    static ProcessResult Run(const std::string& arguments)
    {
        return RunProcess(Quoted(STLAGC_EXE) + " " + arguments);
    }
    RcTexts texts;
};

TEST_F(StlagcRepair, RepairsEverythingAndExitsZero)
{
    SeedAwkwardValues();
    const std::vector<std::string> before = Snapshot();
    const ProcessResult r = Run("/repair " + Quoted(backup));
    ASSERT_TRUE(r.started);
    EXPECT_EQ(0u, r.exitCode);
    EXPECT_EQ(texts.Load(IDS_ALL_REPAIRED) + FormatText(texts.Load(IDS_BACKUP_CREATED), {backup}) + "\r\n", r.out);
    EXPECT_EQ("", r.err);
    EXPECT_EQ("C:\\windows\\notepad.exe", AnsiData(HKEY_CURRENT_USER, "Run", "crlf"));
    EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, "Run", "a\\b\"c"));

    const ProcessResult again = Run("");
    EXPECT_EQ(0u, again.exitCode) << "nothing faulty is left:\n" << again.out;

    EXPECT_EQ(0u, ImportBackup().exitCode);
    EXPECT_EQ(before, Snapshot());
}

TEST_F(StlagcRepair, NothingToRepairSaysSoAndCreatesNoFile)
{
    SetString(HKEY_CURRENT_USER, "Run", "fine", "\"C:\\Program Files\\A\\a.exe\" /x");
    const ProcessResult r = Run("-REPAIR " + Quoted(backup));
    EXPECT_EQ(0u, r.exitCode);
    EXPECT_EQ(texts.Load(IDS_NO_FAULTS) + "\r\n", r.out);
    EXPECT_EQ("", r.err);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(backup.c_str()));
}

TEST_F(StlagcRepair, AValueTheBackupCannotHoldIsLeftAndExitsOne)
{
    SetString(HKEY_CURRENT_USER, "Run", "two\nlines", " C:\\windows\\notepad.exe");
    SetString(HKEY_CURRENT_USER, "Run", "trim", " C:\\windows\\notepad.exe");
    const ProcessResult r = Run("/repair " + Quoted(backup));
    EXPECT_EQ(1u, r.exitCode);
    EXPECT_EQ(texts.Load(IDS_REPAIR_ERRORS) +
                  FormatText(texts.Load(IDS_CHANGE_FAILURES),
                             {"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\two\nlines\r\n"}) +
                  FormatText(texts.Load(IDS_RESTORE_WITH_BACKUP), {backup}) + "\r\n",
              r.out);
    EXPECT_EQ(" C:\\windows\\notepad.exe", AnsiData(HKEY_CURRENT_USER, "Run", "two\nlines"));
    EXPECT_EQ("C:\\windows\\notepad.exe", AnsiData(HKEY_CURRENT_USER, "Run", "trim"));
}

TEST_F(StlagcRepair, RefusalsExitTwoAndChangeNothing)
{
    SeedAwkwardValues();
    const std::vector<std::string> before = Snapshot();

    ASSERT_TRUE(CreateFileWithFolders(backup));
    const ProcessResult exists = Run("/repair " + Quoted(backup));
    EXPECT_EQ(2u, exists.exitCode);
    EXPECT_EQ("", exists.out);
    EXPECT_EQ(texts.Load(IDS_BACKUP_EXISTS) + "\r\n", exists.err);
    EXPECT_EQ("", ReadBackup());

    const ProcessResult missing = Run("/repair " + Quoted(folder + "\\no such folder\\x.reg"));
    EXPECT_EQ(2u, missing.exitCode);
    EXPECT_EQ("", missing.out);
    EXPECT_EQ(texts.Load(IDS_BACKUP_CREATE_FAILED) + "\r\n", missing.err);

    EXPECT_EQ(before, Snapshot());
}

TEST_F(StlagcRepair, BadArgumentsExitTwo)
{
    SeedAwkwardValues();
    const std::vector<std::string> before = Snapshot();
    const ProcessResult noFile = Run("/repair");
    EXPECT_EQ(2u, noFile.exitCode);
    EXPECT_EQ("", noFile.out);
    EXPECT_EQ(texts.Load(IDS_CONSOLE_NO_BACKUP_FILE), noFile.err);

    const ProcessResult extra = Run("/repair " + Quoted(backup) + " /x");
    EXPECT_EQ(2u, extra.exitCode);
    EXPECT_EQ(FormatText(texts.Load(IDS_CONSOLE_BAD_ARGUMENT), {"/x"}), extra.err);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(backup.c_str()));
    EXPECT_EQ(before, Snapshot());
}

}  // namespace
}  // namespace stlag
