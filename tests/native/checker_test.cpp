// Start-up command lines as users and installers leave them, program paths as services and
// uninstallers keep them, and what the checker makes of each.
#include <gtest/gtest.h>

#include "command_line_checker.h"
#include "fakes.h"

using namespace stlag;

TEST(CommandLineChecker, Verdicts)
{
    const std::string a = "C:\\Program Files\\A\\a.exe", dotted = "C:\\Old.bat Files\\x.exe";
    const Verdict ok = Verdict::Ok, faulty = Verdict::Faulty, missing = Verdict::ProgramMissing;
    // Run: a start-up line, in code page 1252 or 932. Path: a program path, quoted at most, never deleted.
    enum Kind { Run, Run932, Path };
    // file: the one file that exists; newData "-": left as it is, else the repair ("" deletes).
    const struct { Kind kind; std::string data, file; Verdict verdict; std::string newData; } cases[] = {
        {Run, "", "", faulty, ""},
        {Run, "\"", "", faulty, ""},
        {Run, " \tC:\\a.exe /x \r\n", "", faulty, "C:\\a.exe /x"},
        {Run932, "a\x95\x20", "", ok, "-"},  // the blank is the second byte of a character
        {Run, "\"" + a + "\" /x", a, ok, "-"},
        {Run, a + " /x", "", faulty, ""},
        {Run, dotted + " -a", dotted, faulty, "\"" + dotted + "\" -a"},  // ".exe" wins over an earlier ".bat"
        {Run, "C:\\PROGRAM FILES\\A\\A.EXE /X", a, faulty, "\"C:\\PROGRAM FILES\\A\\A.EXE\" /X"},
        {Run, "rundll32 C:\\Win Dir\\x.dll,Entry", "", ok, "-"},  // a relative name and its arguments
        {Run, "rundll32 advpack.dll,LaunchINFSection C:\\WINDOWS\\INF\\x.inf", "", ok, "-"},  // no folder in the program
        {Run, "C:\\Program Files\\A\\a.cmd /x", "", ok, "-"},
        {Run932, "ab\x95\x5C c.exe", "", ok, "-"},  // no folder at all
        {Run932, "C:\\A\x95\x20" "B\\b.exe /x", "C:\\A\x95\x20" "B\\b.exe", ok, "-"},  // \x20 as a trail byte
        // file made beforehand, so that only the rule can leave a path alone
        {Path, a + " -k", a, faulty, "\"" + a + "\" -k"},
        {Path, a + " -k", "", missing, "-"},
        {Path, "%PF%\\A\\a.exe /s", a, faulty, "\"%PF%\\A\\a.exe\" /s"},  // the blank comes with %PF%
        {Path, "\\SystemRoot\\Program Files\\a.exe", "\\SystemRoot\\Program Files\\a.exe", ok, "-"},
    };
    for (const auto& c : cases) {
        MemoryFileSystem fs;
        fs.variables["%PF%"] = "C:\\Program Files";
        fs.files[MemoryFileSystem::Fold(c.file)];
        const FakeCodePage codePage(c.kind == Run932);
        const CommandLineChecker checker(fs, codePage);
        std::string newData = "-";
        const Verdict verdict = c.kind == Path ? checker.CheckProgramPath(c.data, newData)
                                               : checker.CheckCommandLine(c.data, newData) ? ok : faulty;
        EXPECT_EQ(verdict, c.verdict) << c.data;
        EXPECT_EQ(newData, c.newData) << c.data;
    }
}
