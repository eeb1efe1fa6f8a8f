// Start-up command lines as users and installers leave them, and what the checker makes of each.
#include <gtest/gtest.h>

#include "command_line_checker.h"
#include "fakes.h"

using namespace stlag;

// newData "-": left as it was.
struct CheckCase { std::string data; bool doubleByte; std::vector<std::string> files; bool ok; std::string newData; };

TEST(CommandLineChecker, Verdicts)
{
    const std::string a = "C:\\Program Files\\A\\a.exe", dotted = "C:\\Old.bat Files\\x.exe";
    const CheckCase cases[] = {
        {"", false, {}, false, ""},
        {"\"", false, {}, false, ""},
        {" \tC:\\a.exe /x \r\n", false, {}, false, "C:\\a.exe /x"},
        {"a\x95\x20", false, {}, false, "a\x95"},
        {"a\x95\x20", true, {}, true, "-"},  // the blank is the second byte of a character
        {"notepad.exe /x", false, {}, true, "-"},
        {"\"" + a + "\" /x", false, {a}, true, "-"},
        {a + " /x \"y z\"", false, {a}, false, "\"" + a + "\" /x \"y z\""},
        {a + " /x", false, {}, false, ""},
        {dotted + " -a", false, {dotted}, false, "\"" + dotted + "\" -a"},
        {"C:\\PROGRAM FILES\\A\\A.EXE /X", false, {a}, false, "\"C:\\PROGRAM FILES\\A\\A.EXE\" /X"},
        {"rundll32 C:\\Win Dir\\x.dll,Entry", false, {}, true, "-"},
        {"rundll32 advpack.dll,LaunchINFSection C:\\WINDOWS\\INF\\x.inf", false, {}, true, "-"},
        {"C:\\Program Files\\A\\a.cmd /x", false, {}, true, "-"},
        {"ab\x95\x5C c.exe", true, {}, true, "-"},  // no folder at all
        {"C:\\A\x95\x20" "B\\b.exe /x", true, {}, true, "-"},  // no blank in the program path
        {"C:\\A\x95\x20" "B\\b.exe /x", false, {"C:\\A\x95\x20" "B\\b.exe"}, false, "\"C:\\A\x95\x20" "B\\b.exe\" /x"},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.data);
        MemoryFileSystem fs;
        for (const std::string& path : c.files)
            fs.files[MemoryFileSystem::Fold(path)];
        const FakeCodePage codePage(c.doubleByte);
        std::string newData = "-";
        EXPECT_EQ(CommandLineChecker(fs, codePage).CheckCommandLine(c.data, newData), c.ok);
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
