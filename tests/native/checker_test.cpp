// Start-up command lines as users and installers leave them, and what the checker makes of each.
#include <gtest/gtest.h>

#include "command_line_checker.h"
#include "fakes.h"

using namespace stlag;

TEST(CommandLineChecker, Verdicts)
{
    const std::string a = "C:\\Program Files\\A\\a.exe", dotted = "C:\\Old.bat Files\\x.exe";
    const std::string odd = "C:\\A\x95\x20" "B\\b.exe";  // a blank, or in code page 932 a trail byte
    // file: the one file that exists; newData "-": the line is fine as it is.
    const struct { std::string data; bool doubleByte; std::string file, newData; } cases[] = {
        {"", false, "", ""},
        {"\"", false, "", ""},
        {" \tC:\\a.exe /x \r\n", false, "", "C:\\a.exe /x"},
        {"a\x95\x20", false, "", "a\x95"},
        {"a\x95\x20", true, "", "-"},  // the blank is the second byte of a character
        {"\"" + a + "\" /x", false, a, "-"},
        {a + " /x \"y z\"", false, a, "\"" + a + "\" /x \"y z\""},
        {a + " /x", false, "", ""},
        {dotted + " -a", false, dotted, "\"" + dotted + "\" -a"},  // ".exe" wins over an earlier ".bat"
        {"C:\\PROGRAM FILES\\A\\A.EXE /X", false, a, "\"C:\\PROGRAM FILES\\A\\A.EXE\" /X"},
        {"rundll32 C:\\Win Dir\\x.dll,Entry", false, "", "-"},  // a relative name and its arguments
        {"rundll32 advpack.dll,LaunchINFSection C:\\WINDOWS\\INF\\x.inf", false, "", "-"},
        {"C:\\Program Files\\A\\a.cmd /x", false, "", "-"},
        {"ab\x95\x5C c.exe", true, "", "-"},  // no folder at all
        {odd + " /x", true, "", "-"},
        {odd + " /x", false, odd, "\"" + odd + "\" /x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        MemoryFileSystem fs;
        if (!c.file.empty())
            fs.files[MemoryFileSystem::Fold(c.file)];
        const FakeCodePage codePage(c.doubleByte);
        std::string newData = "-";
        EXPECT_EQ(CommandLineChecker(fs, codePage).CheckCommandLine(c.data, newData), c.newData == "-");
        EXPECT_EQ(newData, c.newData);
    }
}

// Program paths of services and uninstall entries: quoted at most, never deleted; file: made
// beforehand, so that only the rule can leave a path alone.
TEST(CommandLineChecker, ProgramPaths)
{
    const std::string svc = "C:\\Program Files\\S\\svc.exe";
    const struct { std::string data, file; Verdict verdict; std::string newData; } cases[] = {
        {svc + " -k", svc, Verdict::Faulty, "\"" + svc + "\" -k"},
        {svc + " -k", "", Verdict::ProgramMissing, "-"},
        {"%PF%\\S\\svc.exe /s", svc, Verdict::Faulty, "\"%PF%\\S\\svc.exe\" /s"},  // the blank comes with %PF%
        {"%PF%\\S\\svc.exe /s", "", Verdict::ProgramMissing, "-"},
        {"\"" + svc + "\" -k", svc, Verdict::Ok, "-"},
        {"\\??\\" + svc, "\\??\\" + svc, Verdict::Ok, "-"},
        {"\\SystemRoot\\Program Files\\svc.exe", "\\SystemRoot\\Program Files\\svc.exe", Verdict::Ok, "-"},
        {"system32\\My Drivers\\svc.exe", "system32\\My Drivers\\svc.exe", Verdict::Ok, "-"},
        {"", "", Verdict::Ok, "-"},
    };
    for (const auto& c : cases) {
        MemoryFileSystem fs;
        fs.variables["%PF%"] = "C:\\Program Files";
        fs.files[MemoryFileSystem::Fold(c.file)];
        std::string newData = "-";
        EXPECT_EQ(CommandLineChecker(fs, FakeCodePage()).CheckProgramPath(c.data, newData), c.verdict) << c.data;
        EXPECT_EQ(newData, c.newData) << c.data;
    }
}
