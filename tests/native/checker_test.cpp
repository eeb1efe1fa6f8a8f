// Start-up command lines as users and installers leave them, program paths as services and
// uninstallers keep them, and what the checker makes of each on each kind of drive, for
// each owner of the line.
#include <gtest/gtest.h>

#include "command_line_checker.h"
#include "fakes.h"

using namespace stlag;

TEST(CommandLineChecker, Verdicts)
{
    const std::string a = "C:\\Program Files\\A\\a.exe", dotted = "C:\\Old.bat Files\\x.exe", cmd = "C:\\Program Files\\App\\app.cmd";
    const std::string unc = "\\\\127.0.0.1\\share\\My App\\app.exe", bat = "C:\\Program Files\\Foo\\foo.bat";
    const std::string contoso = "C:\\Program Files\\Contoso.com Agent\\start.cmd", node = "C:\\Program Files\\Node.js Tools\\server.lnk";
    const std::string vbs = "C:\\Program Files\\Old.bat Files\\run.vbs", lnk = "C:\\Apps Dir\\Tool.com Helper.lnk";
    const std::string vendor = "%LOCALAPPDATA%\\Programs\\Vendor App\\app.exe --hidden";
    const Verdict ok = Verdict::Ok, faulty = Verdict::Faulty, missing = Verdict::ProgramMissing, no = Verdict::Unjudged;
    using U = UnjudgedReason;
    // Run: a start-up line of the process's own hive, in code page 1252 or 932, another account's,
    // or REG_EXPAND_SZ of the own hive, the machine's or another account's. Path: a program path.
    // List: Userinit's list of them.
    enum Kind { Run, Run932, Other, Expand, ExpandMachine, ExpandOther, Path, PathMachine, List };
    // file: the one file made; newData "-": left as it is, else the repair ("" deletes).
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
        {Run, "my tool.exe C:\\x.txt", "my tool.exe", faulty, "\"my tool.exe\" C:\\x.txt"},
        {Run, "my tool.com C:\\x.txt", "", no, "-", U::Folder},  // "my tool.com" is a folder
        {Run, "C:my app.exe C:\\x.txt", "", no, "-", U::RelativePath},  // from C:'s current folder
        {Run, "C:\\Program Files\\A\\tool --config C:\\cfg.json", "", ok, "-"},  // ".js" ends no word here
        {Expand, "%PF%\\A\\a.exe /x", a, faulty, "\"%PF%\\A\\a.exe\" /x"},  // judged expanded, quoted as written
        {Expand, "%RUN%", a, no, "-", U::ProgramInVariable},  // no place for the quotes
        {Run932, "ab\x95\x5C c.exe", "", ok, "-"},  // no backslash at all
        {Run932, "C:\\A\x95\x20" "B\\b.exe /x", "C:\\A\x95\x20" "B\\b.exe", ok, "-"},  // \x20 as a trail byte
        {Run, unc + " /x", "", no, "-", U::NetworkOrDevicePath},
        {Run, unc + " /x", unc, faulty, "\"" + unc + "\" /x"},
        {Other, unc + " /x", unc, no, "-", U::NetworkOrDevicePath},
        {Run, "R:\\Program Files\\Tool\\tool.exe /x", "", no, "-", U::DriveNotLocalFixed},
        {Run, "C:\\Program Files\\*\\a.exe\\", "", no, "-", U::Wildcard},  // the line's end is ever a candidate
        {Run, "C:\\Locked\\A B\\x.exe", "", no, "-", U::FileSystemError},
        {Run, "C:\\Program Files\\Gone\\x.exe " + std::string(300, 'a'), "", no, "-", U::PathTooLong},
        // The whole line: every place where the program may end, shortest first.
        {Run, bat + " --log C:\\x.exe.log", bat, faulty, "\"" + bat + "\" --log C:\\x.exe.log"},
        {Run, "C:\\Tools\\foo.bat --log C:\\My Logs\\x.exe.log", "C:\\Tools\\foo.bat", ok, "-"},
        {Run, bat + " C:\\Foo\\go.exe", "", faulty, ""},  // the whole line's name is malformed: absent
        {Run, contoso + " /q", contoso, faulty, "\"" + contoso + "\" /q"},
        {Run, node, node, faulty, "\"" + node + "\""},
        {Run, vbs + " /x", vbs, faulty, "\"" + vbs + "\" /x"},  // past a ".bat" folder
        {Run, lnk + " /x", lnk, faulty, "\"" + lnk + "\" /x"},  // past a ".com" that is a folder
        {Run, cmd + " setup.vbs C:\\x.exe", cmd, faulty, "\"" + cmd + "\" setup.vbs C:\\x.exe"},  // "app.cmd setup.vbs" is there too
        {Run, "C:\\Program Files\\Tool\\tool /x C:\\y.exe", "C:\\Program Files\\Tool\\tool.exe", no, "-", U::ProgramForm},
        {Run, "C:\\Program Files\\My.exe Tools\\notes.txt", "C:\\Program Files\\My.exe Tools\\notes.txt", no, "-", U::ProgramForm},
        {Run, "C:\\Program Files\\Gone\\x.exe", "C:\\Program.exe", faulty, ""},  // the hijack saves no dead line
        {Run, "C:\\Program Files\\Node.js Tools\\start /q", "C:\\Program Files\\Node.js Tools\\start.bat", no, "-", U::ProgramForm},
        {Run, "C:\\Tools Dir\\x.cmd-old", "C:\\Tools Dir\\x.cmd-old", no, "-", U::ProgramForm},  // "x.cmd" is there too
        {Other, "C:\\Dead Dir\\..\\Tools\\app.exe /q", "C:\\Tools\\app.exe", faulty, "\"C:\\Dead Dir\\..\\Tools\\app.exe\" /q"},
        // Variables: only the process's own hive's are the ones its log-on expands.
        {Expand, vendor, "", faulty, ""},
        {ExpandMachine, vendor, "", no, "-", U::UserVariable},
        {ExpandOther, vendor, "", no, "-", U::UserVariable},
        {ExpandOther, "%LOCALAPPDATA%\\Vendor App\\app.exe", "C:\\Users\\sys\\AppData\\Local\\Vendor App\\app.exe", faulty,
         "\"%LOCALAPPDATA%\\Vendor App\\app.exe\""},
        {Expand, "%BLANK%", "", no, "-", U::ExpansionEmpty},
        {Expand, "%HUGE%x", "", no, "-", U::ExpansionFailed},  // longer than the system expands
        {Other, "C:\\Users\\bob\\Link\\App Dir\\a.exe /x", "", no, "-", U::ReparsePoint},
        // file made beforehand, so that only the rule can leave a path alone
        {Path, a + " -k", a, faulty, "\"" + a + "\" -k"},
        {Path, a + " -k", "", missing, "-"},
        {Path, "%PF%\\A\\a.exe /s", a, faulty, "\"%PF%\\A\\a.exe\" /s"},  // the blank comes with %PF%
        {Path, "\\SystemRoot\\Program Files\\a.exe", "\\SystemRoot\\Program Files\\a.exe", ok, "-"},
        {Path, "R:\\Program Files\\a.exe", "", no, "-", U::DriveNotLocalFixed},
        {PathMachine, "%LOCALAPPDATA%\\My App\\a.exe -k", "", no, "-", U::UserVariable},
        // Userinit: Windows' own form ends in a comma; a faulty item asks for a person.
        {List, "C:\\Windows\\userinit.exe,, " + a + " /x,", a, Verdict::ChangeByHand,
         "C:\\Windows\\userinit.exe,, \"" + a + "\" /x,"},
        {List, "C:\\Windows\\userinit.exe," + a, "", missing, "-"},
    };
    for (const auto& c : cases) {
        MemoryFileSystem fs;
        fs.variables = {{"pf", "C:\\Program Files"}, {"run", a + " /x"}, {"localappdata", "C:\\Users\\sys\\AppData\\Local"},
                        {"blank", " "}, {"huge", std::string(32767, 'h')}};
        fs.files[MemoryFileSystem::Fold(c.file)];
        fs.answers = {{"c:\\program files", PathAnswer::Folder}, {"c:\\users", PathAnswer::Folder},
                      {"c:\\users\\bob", PathAnswer::Folder}, {"c:\\apps dir\\tool.com", PathAnswer::Folder},
                      {"my tool.com", PathAnswer::Folder}, {"c:\\locked\\a b\\x.exe", PathAnswer::Error},
                      {MemoryFileSystem::Fold(cmd + " setup.vbs"), PathAnswer::File}, {"c:\\tools dir\\x.cmd", PathAnswer::File}};
        fs.links = {"c:\\users\\bob\\link"};
        const FakeCodePage codePage(c.kind == Run932);
        const CommandLineChecker checker(fs, codePage);
        const LineOwner owner = c.kind == Other || c.kind == ExpandOther ? LineOwner::OtherAccount
                                : c.kind == ExpandMachine || c.kind == PathMachine ? LineOwner::Machine
                                                                         : LineOwner::Process;
        const bool expand = c.kind == Expand || c.kind == ExpandMachine || c.kind == ExpandOther;
        const Judgement judged = c.kind == Path || c.kind == PathMachine ? checker.CheckProgramPath(c.data, owner)
                                 : c.kind == List ? checker.CheckProgramList(c.data)
                                                  : checker.CheckCommandLine(c.data, owner, expand);
        EXPECT_EQ(judged.verdict, c.verdict) << c.data;
        EXPECT_EQ(judged.verdict == faulty || judged.verdict == Verdict::ChangeByHand ? judged.newData : "-", c.newData)
            << c.data;
        EXPECT_EQ(judged.reason, c.reason) << c.data;
        // Another account's line sends the system nowhere but to this machine's fixed disks,
        // and through no link.
        for (const std::string& path : fs.probed)
            EXPECT_TRUE(owner != LineOwner::OtherAccount ||
                        (path.compare(0, 2, "C:") == 0 && MemoryFileSystem::Fold(path).rfind("c:\\users\\bob\\link\\", 0) != 0))
                << path;
    }
}
