// The windowless text work of the wizard pages and the link launcher.
#include <gtest/gtest.h>

#include "backup_name.h"
#include "fakes.h"
#include "finding_rows.h"
#include "launch_command.h"
#include "program_folder.h"

using namespace stlag;

// The backup's folder and file name (UTF-8), the program's folder (UTF-16), which only a
// backslash makes, in lower case, and a typed backup name where a double-click undoes from.
TEST(PathParts, FolderNameProgramFolderAndBackupName)
{
    const struct { std::string path, folder, name; } parts[] = {
        {"C:\\a\\b/c.reg", "C:\\a\\", "b/c.reg"}, {"C:/a/b.reg", "C:/a/", "b.reg"}, {"b.reg", "b.reg", "b.reg"},
        {"C:\\\xCE\xA9\\\xCE\xA9.reg", "C:\\\xCE\xA9\\", "\xCE\xA9.reg"}};
    for (const auto& c : parts)
        EXPECT_TRUE(GetFolderPart(c.path) == c.folder && GetFileNamePart(c.path) == c.name) << c.path;
    EXPECT_EQ(ProgramFolderFromModulePath(u"C:\\PROGRAM\\ÖL Ω\\X.EXE"), u"c:\\program\\öl ω\\");
    EXPECT_EQ(ProgramFolderFromModulePath(u"C:/a/x.exe"), u"");
    const std::string desk = "C:\\Users\\\xC5\x81ukasz\\Desktop";
    const std::pair<std::string, std::string> names[] = {
        {"b", desk + "\\b.reg"}, {"\\sub\\B.REG", desk + "\\sub\\B.REG"}, {"C:\\bk\\noext", "C:\\bk\\noext.reg"},
        {"C:/bk/x.txt", "C:/bk/x.txt.reg"}, {"\\\\127.0.0.1\\s\\x.reg", "\\\\127.0.0.1\\s\\x.reg"}, {" ", " "}};
    for (const auto& c : names)
        EXPECT_EQ(CompleteBackupName(c.first, desk), c.second) << c.first;
}

TEST(BackupName, SaveDialogFilterDefaultNameAndFindingRow)
{
    EXPECT_EQ(SaveDialogFilter("A|*.a|\nB|*.b||"), std::string("A\0*.a\0B\0*.b\0\0", 13));

    std::tm time{};
    time.tm_year = 124, time.tm_mon = 2, time.tm_mday = 5, time.tm_hour = 7, time.tm_min = 8, time.tm_sec = 9;
    EXPECT_EQ(DefaultBackupFileName("C:\\Desk", "Startlagaren", time), "C:\\Desk\\Startlagaren 2024-03-05 070809.reg");
    EXPECT_EQ(DefaultBackupFileName("", "S", time), "\\S 2024-03-05 070809.reg");

    using Row = std::array<std::string, kFindingColumns>;
    EXPECT_EQ(FindingRowTexts(Finding{"V", "old", "", RunSubKey("RunOnce\\Setup"), RegistryRoot::LocalMachine}, "DEL"),
              (Row{"V", "DEL", "old", "HKEY_LOCAL_MACHINE\\...\\RunOnce\\Setup"}));
    EXPECT_EQ(FindingRowTexts(Finding{"V", "old", "new", RunSubKey("Run"), RegistryRoot::LocalMachine, RegistryView::Wow64}, "DEL"),
              (Row{"V", "new", "old", "HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\...\\Run"}));
}

TEST(LaunchCommand, FallbackCommand)
{
    const std::string fits(kCommandBufferSize - 3, 'x');
    const struct { std::string open, target, command; } cases[] = {  // command "-": refused
        {"ie.exe %1 \"%1\"", "r.htm", "ie.exe %1  r.htm"},  // the quoted placeholder is the one to replace
        {"ie.exe", "r.htm", "ie.exe r.htm"},
        {"ie.exe %1", "C:\\My Docs\\r.htm", "ie.exe  \"C:\\My Docs\\r.htm\""},
        {"ie.exe %1", "\"C:\\My Docs\\r.htm\"", "ie.exe  \"C:\\My Docs\\r.htm\""},
        {"ie.exe %1", "C:\\My\tDocs\\\\", "ie.exe  \"C:\\My\tDocs\\\\\\\\\""},  // else the last \ escapes the quote
        {fits, "t", fits + " t"},
        {fits + "x", "t", "-"},
    };
    for (const auto& c : cases) {
        std::string commandLine = "-";
        EXPECT_EQ(BuildFallbackCommand(c.open, c.target, FakeCodePage(), commandLine), c.command != "-") << c.open;
        EXPECT_EQ(commandLine, c.command);
    }
}
