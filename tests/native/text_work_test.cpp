// The windowless text work of the wizard pages and the link launcher.
#include <gtest/gtest.h>

#include <algorithm>

#include "backup_name.h"
#include "fakes.h"
#include "finding_rows.h"
#include "launch_command.h"
#include "program_folder.h"

using namespace stlag;

TEST(BackupName, PathParts)
{
    const struct { std::string path; bool doubleByte; std::string folder, name; } cases[] = {
        {"C:\\backup\\\x95\x5C\x8E\xA6.reg", true, "C:\\backup\\", "\x95\x5C\x8E\xA6.reg"},
        {"C:\\a\\b/c.reg", false, "C:\\a\\", "b/c.reg"},
        {"C:/a/b.reg", false, "C:/a/", "b.reg"},
        {"b.reg", false, "b.reg", "b.reg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetFolderPart(c.path, FakeCodePage(c.doubleByte)), c.folder) << c.path;
        EXPECT_EQ(GetFileNamePart(c.path, FakeCodePage(c.doubleByte)), c.name) << c.path;
    }
}

TEST(BackupName, SaveDialog)
{
    const struct { std::size_t size; const char* name; } cases[] = {{6, "b.reg"}, {5, ""}, {0, ""}};
    for (const auto& c : cases) {
        const std::vector<char> buffer = SaveDialogFileBuffer("C:\\d\\b.reg", c.size, FakeCodePage());
        EXPECT_EQ(buffer.size(), std::max<std::size_t>(c.size, 1));
        EXPECT_STREQ(buffer.data(), c.name) << c.size;
    }
    EXPECT_EQ(SaveDialogFilter("A|*.a|\nB|*.b||"), std::string("A\0*.a\0B\0*.b\0\0", 13));
}

TEST(BackupName, DefaultNameAndFindingRow)
{
    std::tm time{};
    time.tm_year = 124, time.tm_mon = 2, time.tm_mday = 5, time.tm_hour = 7, time.tm_min = 8, time.tm_sec = 9;
    EXPECT_EQ(DefaultBackupFileName("C:\\Desk", "Startlagaren", time), "C:\\Desk\\Startlagaren 2024-03-05 070809.reg");
    EXPECT_EQ(DefaultBackupFileName("", "S", time), "\\S 2024-03-05 070809.reg");

    using Row = std::array<std::string, kFindingColumns>;
    EXPECT_EQ(FindingRowTexts(Finding{"V", "old", "", RunSubKey("RunOnce\\Setup"), "HKEY_LOCAL_MACHINE"}, "DEL"),
              (Row{"V", "DEL", "old", "HKEY_LOCAL_MACHINE\\...\\RunOnce\\Setup"}));
    EXPECT_EQ(FindingRowTexts(Finding{"V", "old", "new", RunSubKey("Run"), "HKEY_CURRENT_USER"}, "DEL"),
              (Row{"V", "new", "old", "HKEY_CURRENT_USER\\...\\Run"}));
    EXPECT_EQ(FindingRowTexts(Finding{"V", "old", "new", RunSubKey("Run"), "HKEY_LOCAL_MACHINE", RegistryView::Wow64}, "DEL")[3],
              "HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\...\\Run");
}

TEST(LaunchCommand, FallbackCommand)
{
    const FakeCodePage codePage;
    const std::string fits(kCommandBufferSize - 3, 'x');
    const struct { std::string open, target, command; } cases[] = {  // command "-": refused
        {"\"C:\\ie.exe\" -nohome \"%1\"", "C:\\r.htm", "\"C:\\ie.exe\" -nohome  C:\\r.htm"},
        {"ie.exe %1 \"%1\"", "r.htm", "ie.exe %1  r.htm"},
        {"ie.exe %1", "r.htm", "ie.exe  r.htm"},
        {"ie.exe", "r.htm", "ie.exe r.htm"},
        {"ie.exe %1", "C:\\My Docs\\r.htm", "ie.exe  \"C:\\My Docs\\r.htm\""},
        {"ie.exe %1", "\"C:\\My Docs\\r.htm\"", "ie.exe  \"C:\\My Docs\\r.htm\""},
        {"ie.exe %1", "C:\\My\tDocs\\\\", "ie.exe  \"C:\\My\tDocs\\\\\\\\\""},
        {fits, "t", fits + " t"},
        {fits + "x", "t", "-"},
    };
    for (const auto& c : cases) {
        std::string commandLine = "-";
        EXPECT_EQ(BuildFallbackCommand(c.open, c.target, codePage, commandLine), c.command != "-") << c.open;
        EXPECT_EQ(commandLine, c.command);
    }
}

TEST(ProgramFolder, FromModulePath)
{
    const struct { std::string path; bool doubleByte; std::string folder; } cases[] = {
        {Ansi("C:\\PROGRAM\\ÖL\\X.EXE"), false, Ansi("c:\\program\\öl\\")},
        {"C:\\A\x95\x5C.exe", true, "c:\\"},
        {"C:\\\x82\x41\\x.exe", true, "c:\\\x82\x41\\"},
        {"C:/a/x.exe", false, ""},
        {"x.exe", false, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgramFolderFromModulePath(c.path, FakeCodePage(c.doubleByte)), c.folder) << c.path;
}
