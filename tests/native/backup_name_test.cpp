// The backup file's default name and the path pieces the save dialog starts with.
#include <gtest/gtest.h>

#include "backup_name.h"
#include "rc_texts.h"
#include "resource.h"

namespace stlag {
namespace {

TEST(GetFolderPart, UpToAndIncludingTheLastBackslash)
{
    EXPECT_EQ("C:\\WINDOWS\\Skrivbord\\", GetFolderPart("C:\\WINDOWS\\Skrivbord\\Startlagaren 2004-05-17 134501.reg"));
    EXPECT_EQ("C:\\", GetFolderPart("C:\\a.reg"));
}

TEST(GetFileNamePart, AfterTheLastBackslash)
{
    EXPECT_EQ("Startlagaren 2004-05-17 134501.reg",
              GetFileNamePart("C:\\WINDOWS\\Skrivbord\\Startlagaren 2004-05-17 134501.reg"));
}

TEST(PathParts, WithoutSeparatorBothAreTheWholePath)
{
    EXPECT_EQ("backup.reg", GetFolderPart("backup.reg"));
    EXPECT_EQ("backup.reg", GetFileNamePart("backup.reg"));
}

TEST(PathParts, TrailingBackslashGivesTheFolderAndAnEmptyName)
{
    EXPECT_EQ("C:\\Temp\\", GetFolderPart("C:\\Temp\\"));
    EXPECT_EQ("", GetFileNamePart("C:\\Temp\\"));
}

TEST(PathParts, TheLastBackslashDecidesEvenBeforeASlash)
{
    EXPECT_EQ("C:\\", GetFolderPart("C:\\a/b.reg"));
    EXPECT_EQ("a/b.reg", GetFileNamePart("C:\\a/b.reg"));
}

TEST(PathParts, ForwardSlashWhenThereIsNoBackslash)
{
    EXPECT_EQ("C:/Temp/", GetFolderPart("C:/Temp/x.reg"));
    EXPECT_EQ("x.reg", GetFileNamePart("C:/Temp/x.reg"));
}

TEST(PathParts, EmptyPath)
{
    EXPECT_EQ("", GetFolderPart(""));
    EXPECT_EQ("", GetFileNamePart(""));
}

std::tm At(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

TEST(DefaultBackupFileName, DesktopNameAndTimeStamp)
{
    const RcTexts texts;
    EXPECT_EQ("C:\\WINDOWS\\Skrivbord\\Startlagaren 2004-05-17 134501.reg",
              DefaultBackupFileName("C:\\WINDOWS\\Skrivbord", texts.Load(IDS_BACKUP_BASE_NAME), At(2004, 5, 17, 13, 45, 1)));
}

TEST(DefaultBackupFileName, PadsEveryFieldWithZeros)
{
    EXPECT_EQ("D:\\Startlagaren 2004-03-07 091502.reg",
              DefaultBackupFileName("D:", "Startlagaren", At(2004, 3, 7, 9, 15, 2)));
}

TEST(DefaultBackupFileName, WithoutDesktopStartsWithTheBackslash)
{
    EXPECT_EQ("\\Startlagaren 2026-12-31 235959.reg", DefaultBackupFileName("", "Startlagaren", At(2026, 12, 31, 23, 59, 59)));
}

TEST(SaveDialogFilter, BarsBecomeNulsAndTheListEndsInTwo)
{
    const RcTexts texts;
    const std::string filter = SaveDialogFilter(texts.Load(IDS_SAVE_FILTER));
    const char bytes[] = "Registerfil\0*.reg\0Alla filer (*.*)\0*.*\0\0";
    const std::string expected(bytes, sizeof bytes - 1);
    EXPECT_EQ(expected, filter);
}

TEST(SaveDialogFilter, LineFeedsAreDropped)
{
    EXPECT_EQ(std::string("A\0*.a\0\0", 7), SaveDialogFilter("A|*.a\n||"));
}

TEST(SaveDialogFileBuffer, HoldsTheFileNamePart)
{
    const std::vector<char> buffer = SaveDialogFileBuffer("C:\\Skrivbord\\x.reg", 260);
    ASSERT_EQ(260u, buffer.size());
    EXPECT_STREQ("x.reg", buffer.data());
}

TEST(SaveDialogFileBuffer, ANameThatFillsTheBufferStartsEmpty)
{
    const std::string longest(259, 'a');
    EXPECT_EQ(longest, std::string(SaveDialogFileBuffer("C:\\" + longest, 260).data()));

    const std::vector<char> tooLong = SaveDialogFileBuffer("C:\\" + std::string(260, 'b'), 260);
    ASSERT_EQ(260u, tooLong.size());
    EXPECT_EQ('\0', tooLong[0]);
    for (const char c : tooLong)
        EXPECT_EQ('\0', c);
}

}  // namespace
}  // namespace stlag
