// The windowless text work of the wizard pages and the link launcher.
#include <gtest/gtest.h>

#include "backup_name.h"
#include "fakes.h"
#include "finding_rows.h"
#include "launch_command.h"
#include "program_folder.h"

using namespace stlag;

// The backup's folder and file name, and the program's folder, which only a backslash makes.
TEST(PathParts, FolderNameAndProgramFolder)
{
    const struct { std::string path; FakeCodePage::Kind page; std::string folder, name, programFolder; } cases[] = {
        // A trail byte 0x5C is no separator, and a trail byte "A" no capital.
        {"C:\\\x82\x41\\\x95\x5C.reg", FakeCodePage::DoubleByte, "C:\\\x82\x41\\", "\x95\x5C.reg", "c:\\\x82\x41\\"},
        {"C:\\a\\b/c.reg", FakeCodePage::SingleByte, "C:\\a\\", "b/c.reg", "c:\\a\\"},
        {"C:/a/b.reg", FakeCodePage::SingleByte, "C:/a/", "b.reg", ""},
        {"b.reg", FakeCodePage::SingleByte, "b.reg", "b.reg", ""},
        {Ansi("C:\\PROGRAM\\ÖL\\X.EXE"), FakeCodePage::SingleByte, Ansi("C:\\PROGRAM\\ÖL\\"), "X.EXE", Ansi("c:\\program\\öl\\")},
        // In UTF-8 (65001) the bytes of "Ö" stay as they are.
        {"C:\\PROGRAM\\\xC3\x96L\\X.EXE", FakeCodePage::Utf8, "C:\\PROGRAM\\\xC3\x96L\\", "X.EXE", "c:\\program\\\xC3\x96l\\"},
    };
    for (const auto& c : cases) {
        const FakeCodePage codePage(c.page);
        EXPECT_EQ(GetFolderPart(c.path, codePage), c.folder) << c.path;
        EXPECT_EQ(GetFileNamePart(c.path, codePage), c.name) << c.path;
        EXPECT_EQ(ProgramFolderFromModulePath(c.path, codePage), c.programFolder) << c.path;
    }
}

TEST(BackupName, SaveDialogDefaultNameAndFindingRow)
{
    // The name goes in only with room for its NUL; a size of 0 still gets the NUL.
    const struct { std::size_t size; std::string buffer; } cases[] = {{6, {"b.reg", 6}}, {5, std::string(5, '\0')}, {0, {"", 1}}};
    for (const auto& c : cases) {
        const std::vector<char> buffer = SaveDialogFileBuffer("C:\\d\\b.reg", c.size, FakeCodePage());
        EXPECT_EQ(std::string(buffer.begin(), buffer.end()), c.buffer) << c.size;
    }
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
