// Start-up command lines as users and installers leave them, program paths as services and
// uninstallers keep them, and what the checker makes of each on each kind of drive.
#include <gtest/gtest.h>

#include "command_line_checker.h"
#include "fakes.h"

using namespace stlag;

TEST(CommandLineChecker, Verdicts)
{
    const std::string a = "C:\\Program Files\\A\\a.exe", dotted = "C:\\Old.bat Files\\x.exe";
    const std::string unc = "\\\\127.0.0.1\\share\\My App\\app.exe", bat = "C:\\Program Files\\Foo\\foo.bat";
    const Verdict ok = Verdict::Ok, faulty = Verdict::Faulty, missing = Verdict::ProgramMissing, no = Verdict::Unjudged;
    using U = UnjudgedReason;
    // Run: a start-up line, in code page 1252 or 932, in another account's hive, or REG_EXPAND_SZ.
    // Path: a program path. List: Userinit's list of them.
    enum Kind { Run, Run932, Other, Expand, Path, List };
    // file: the one file that exists; newData "-": left as it is, else the repair ("" deletes).
    const struct { Kind kind; std::string data, file; Verdict verdict; std::string newData; U reason = U::None; } cases[] = {
        {Run, "", "", faulty, ""},
        {Run, "\"", "", faulty, ""},
        {Run, " \tC:\\a.exe /x \r\n", "", faulty, "C:\\a.exe /x"},
        {Run932, "a\x95\x20", "", ok, "-"},  // the blank is the second byte of a character
        {Run, "\"" + a + "\" /x", a, ok, "-"},
        {Run, a + " /x", "", faulty, ""},  // proven absent on a local fixed drive
        {Other, a + " /x", "", faulty, ""},
        {Run, dotted + " -a", dotted, faulty, "\"" + dotted + "\" -a"},  // ".exe" wins over an earlier ".bat"
        {Run, "C:\\PROGRAM FILES\\A\\A.EXE /X", a, faulty, "\"C:\\PROGRAM FILES\\A\\A.EXE\" /X"},
        {Run, "rundll32 C:\\Win Dir\\x.dll,Entry", "", ok, "-"},  // a relative name and its arguments
        {Run, "rundll32 advpack.dll,LaunchINFSection C:\\WINDOWS\\INF\\x.inf", "", no, "-", U::RelativePath},
        {Run, "my tool.exe C:\\x.txt", "my tool.exe", faulty, "\"my tool.exe\" C:\\x.txt"},
        {Other, "my tool.exe C:\\x.txt", "my tool.exe", no, "-", U::RelativePath},
        {Run, "C:\\Program Files\\A\\a.cmd /x", "C:\\Program Files\\A\\a.cmd", faulty, "\"C:\\Program Files\\A\\a.cmd\" /x"},
        {Run, "C:\\My Links\\app.LNK", "C:\\My Links\\app.lnk", faulty, "\"C:\\My Links\\app.LNK\""},
        {Run, a + " /script C:\\x.cmd", a, faulty, "\"" + a + "\" /script C:\\x.cmd"},  // ".exe" first, as ever
        {Run, "C:\\Program Files\\A\\tool --config C:\\cfg.json", "", ok, "-"},  // ".js" ends no word here
        {Expand, "%PF%\\A\\a.exe /x", a, faulty, "\"%PF%\\A\\a.exe\" /x"},  // judged expanded, quoted as written
        {Expand, "%RUN%", a, no, "-", U::ProgramInVariable},  // no place for the quotes
        {Run932, "ab\x95\x5C c.exe", "", ok, "-"},  // no backslash at all
        {Run932, "C:\\A\x95\x20" "B\\b.exe /x", "C:\\A\x95\x20" "B\\b.exe", ok, "-"},  // \x20 as a trail byte
        {Run, unc + " /x", "", no, "-", U::NetworkOrDevicePath},
        {Run, unc + " /x", unc, faulty, "\"" + unc + "\" /x"},
        {Other, unc + " /x", unc, no, "-", U::NetworkOrDevicePath},
        {Run, "R:\\Program Files\\Tool\\tool.exe /x", "", no, "-", U::DriveNotLocalFixed},
        {Run, "C:\\Program Files\\Contoso.com\\agent.cmd", "", no, "-", U::Folder},
        {Run, "C:\\Program Files\\*\\a.exe", "", no, "-", U::Wildcard},
        {Run, "C:\\Locked\\A B\\x.exe", "", no, "-", U::FileSystemError},
        // An extension in the arguments: the shorter program that is there decides.
        {Run, bat + " --log C:\\x.exe.log", bat, faulty, "\"" + bat + "\" --log C:\\x.exe.log"},
        {Run, "C:\\Tools\\foo.bat --log C:\\My Logs\\x.exe.log", "C:\\Tools\\foo.bat", ok, "-"},
        {Run, bat + " C:\\Foo\\go.exe", "", faulty, ""},
        {Run, "C:\\Program Files\\Contoso.com\\x.exe /y", "", no, "-", U::Folder},
        // file made beforehand, so that only the rule can leave a path alone
        {Path, a + " -k", a, faulty, "\"" + a + "\" -k"},
        {Path, a + " -k", "", missing, "-"},
        {Path, "%PF%\\A\\a.exe /s", a, faulty, "\"%PF%\\A\\a.exe\" /s"},  // the blank comes with %PF%
        {Path, "\\SystemRoot\\Program Files\\a.exe", "\\SystemRoot\\Program Files\\a.exe", ok, "-"},
        {Path, "R:\\Program Files\\a.exe", "", no, "-", U::DriveNotLocalFixed},
        // Userinit: Windows' own form ends in a comma; a faulty item asks for a person.
        {List, "C:\\Windows\\userinit.exe,, " + a + " /x,", a, Verdict::ChangeByHand,
         "C:\\Windows\\userinit.exe,, \"" + a + "\" /x,"},
        {List, "C:\\Windows\\userinit.exe," + a, "", missing, "-"},
    };
    for (const auto& c : cases) {
        MemoryFileSystem fs;
        fs.variables = {{"%PF%", "C:\\Program Files"}, {"%RUN%", a + " /x"}};
        fs.files[MemoryFileSystem::Fold(c.file)];
        fs.answers = {{"c:\\program files\\contoso.com", PathAnswer::Folder}, {"c:\\locked\\a b\\x.exe", PathAnswer::Error}};
        const FakeCodePage codePage(c.kind == Run932);
        const CommandLineChecker checker(fs, codePage);
        const Judgement judged = c.kind == Path   ? checker.CheckProgramPath(c.data)
                                 : c.kind == List ? checker.CheckProgramList(c.data)
                                                  : checker.CheckCommandLine(c.data, c.kind == Other, c.kind == Expand);
        EXPECT_EQ(judged.verdict, c.verdict) << c.data;
        EXPECT_EQ(judged.verdict == faulty || judged.verdict == Verdict::ChangeByHand ? judged.newData : "-", c.newData)
            << c.data;
        EXPECT_EQ(judged.reason, c.reason) << c.data;
        // Another account's line never sends the system anywhere but to this machine's fixed disks.
        for (const std::string& path : fs.probed)
            EXPECT_TRUE(c.kind != Other || path.compare(0, 2, "C:") == 0) << path;
    }
}
