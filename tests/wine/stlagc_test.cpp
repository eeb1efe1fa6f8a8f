// stlagc.exe as a technician's script sees it: bytes on standard output, exit codes.
#include <gtest/gtest.h>

#include "process_runner.h"
#include "rc_texts.h"
#include "start_keys.h"
#include "win32_platform.h"
#include "win32_registry.h"

namespace stlag {
namespace {

class Stlagc : public ::testing::Test {
protected:
    void SetUp() override { DeleteStartKeys(); }
    void TearDown() override { DeleteStartKeys(); }
    static ProcessResult Run(const std::string& arguments)
    {
        return RunProcess(Quoted(STLAGC_EXE) + (arguments.empty() ? "" : " " + arguments));
    }
    // The log the wizard would show for the registry as it is now.
    static std::string ExpectedLog()
    {
        Win32Registry registry;
        Win32FileSystem files;
        Win32CodePage codePage;
        ResourceTexts texts;
        CommandLineChecker checker(files, codePage);
        RunEntryFixList findings;
        std::string log;
        RunKeyScanner(registry, checker, codePage, texts).ScanRunKeys(findings, log, nullptr);
        return log;
    }
};

TEST_F(Stlagc, CleanRegistryPrintsTheLogAndExitsZero)
{
    SetString(HKEY_CURRENT_USER, "Run", "fine", "\"C:\\Program Files\\A\\a.exe\" /x");
    const ProcessResult r = Run("");
    ASSERT_TRUE(r.started);
    EXPECT_EQ(0u, r.exitCode);
    EXPECT_EQ(ExpectedLog(), r.out);
    EXPECT_NE(std::string::npos, r.out.find("\tOK\r\n"));
    EXPECT_EQ("", r.err);
}

TEST_F(Stlagc, FaultsExitOneAndChangeNothing)
{
    SetString(HKEY_LOCAL_MACHINE, "RunOnce", "broken", "C:\\Program Files\\Nowhere\\x.exe");
    const ProcessResult r = Run("");
    EXPECT_EQ(1u, r.exitCode);
    EXPECT_EQ(ExpectedLog(), r.out);
    EXPECT_NE(std::string::npos, r.out.find(Ansi("FELAKTIGT VÄRDE! Rekommenderad ändring: Ta bort värde\r\n")));
    EXPECT_EQ(1u, Run("").exitCode) << "the value must still be there";
}

TEST_F(Stlagc, UsageAndUnknownArguments)
{
    RcTexts texts;
    const ProcessResult help = Run("/?");
    EXPECT_EQ(0u, help.exitCode);
    EXPECT_EQ(texts.Load(700), help.out);

    const ProcessResult bad = Run("/bogus");
    EXPECT_EQ(2u, bad.exitCode);
    EXPECT_EQ("", bad.out);
    EXPECT_EQ(Ansi("stlagc: okänt argument: /bogus\r\nSkriv stlagc /? för att se hur programmet används.\r\n"), bad.err);
}

}  // namespace
}  // namespace stlag
