// The link launcher and the read-me opener on Wine's real registry, shell and processes.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>

#include "launch_command.h"
#include "link_launcher.h"
#include "readme_opener.h"

namespace stlag {
namespace {

const char kTestKey[] = "Software\\StlagLinksTest";

void SetDefault(HKEY root, const std::string& subKey, const std::string& value)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

class ReadDefaultValueTest : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }
};

TEST_F(ReadDefaultValueTest, MissingKeyGivesItsStatusAndLeavesTheBufferAlone)
{
    char out[MAX_PATH];
    std::memset(out, 'Q', sizeof out);
    EXPECT_NE(ReadDefaultValue(HKEY_CURRENT_USER, "Software\\StlagLinksTest\\Missing", out), ERROR_SUCCESS);
    for (char c : out)
        ASSERT_EQ(c, 'Q');
}

TEST_F(ReadDefaultValueTest, ReadsTheDefaultValue)
{
    SetDefault(HKEY_CURRENT_USER, kTestKey, "\"C:\\Program Files\\Web\\web.exe\" \"%1\"");
    char out[MAX_PATH];
    EXPECT_EQ(ReadDefaultValue(HKEY_CURRENT_USER, kTestKey, out), ERROR_SUCCESS);
    EXPECT_STREQ(out, "\"C:\\Program Files\\Web\\web.exe\" \"%1\"");
}

TEST_F(ReadDefaultValueTest, KeyWithoutADefaultValueGivesEmptyText)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    char out[MAX_PATH];
    std::memset(out, 'Q', sizeof out);
    EXPECT_EQ(ReadDefaultValue(HKEY_CURRENT_USER, kTestKey, out), ERROR_SUCCESS);
    EXPECT_STREQ(out, "");
}

TEST_F(ReadDefaultValueTest, ValueThatDoesNotFitGivesEmptyTextNotAPiece)
{
    SetDefault(HKEY_CURRENT_USER, kTestKey, std::string(300, 'v'));
    char out[MAX_PATH];
    std::memset(out, 'Q', sizeof out);
    EXPECT_EQ(ReadDefaultValue(HKEY_CURRENT_USER, kTestKey, out), ERROR_SUCCESS);
    EXPECT_STREQ(out, "");
}

TEST_F(ReadDefaultValueTest, LongestValueThatFitsIsReadWhole)
{
    SetDefault(HKEY_CURRENT_USER, kTestKey, std::string(259, 'v'));
    char out[MAX_PATH];
    EXPECT_EQ(ReadDefaultValue(HKEY_CURRENT_USER, kTestKey, out), ERROR_SUCCESS);
    EXPECT_EQ(std::string(out), std::string(259, 'v'));
}

TEST_F(ReadDefaultValueTest, OutputMayBeTheMemoryOfThePath)
{
    SetDefault(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Class", "opened");
    char buffer[520] = "Software\\StlagLinksTest\\Class";
    EXPECT_EQ(ReadDefaultValue(HKEY_CURRENT_USER, buffer, buffer), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "opened");
}

// The .htm association of the prefix, put back as it was after each test.
class LaunchTargetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char value[MAX_PATH] = {};
        LONG size = sizeof value;
        hadHtm_ = RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", value, &size) == ERROR_SUCCESS;
        htmClass_ = value;
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, kClass);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
        if (hadHtm_)
            SetDefault(HKEY_CLASSES_ROOT, ".htm", htmClass_);
    }

    static int ShellAnswer(const std::string& target)
    {
        return static_cast<int>(
            reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOW)));
    }

    static constexpr const char* kClass = "StlagLinksTest.htm";
    // A scheme no program is registered for, so the shell always refuses it.
    static constexpr const char* kRefused = "stlag-no-such-scheme:page";
    bool hadHtm_ = false;
    std::string htmClass_;
};

TEST_F(LaunchTargetTest, WithoutAnHtmClassTheShellsOwnCodeIsReturned)
{
    const int shell = ShellAnswer(kRefused);
    ASSERT_LE(shell, 32);
    EXPECT_EQ(LaunchTarget(kRefused, SW_SHOW), shell);
}

TEST_F(LaunchTargetTest, HtmClassWithoutAnOpenCommandGivesTheShellsCode)
{
    SetDefault(HKEY_CLASSES_ROOT, ".htm", kClass);
    SetDefault(HKEY_CLASSES_ROOT, kClass, "Test class without commands");
    EXPECT_EQ(LaunchTarget(kRefused, SW_SHOW), ShellAnswer(kRefused));
}

TEST_F(LaunchTargetTest, OpenCommandWhoseProgramCannotStartGivesZero)
{
    SetDefault(HKEY_CLASSES_ROOT, ".htm", kClass);
    SetDefault(HKEY_CLASSES_ROOT, std::string(kClass) + "\\shell\\open\\command",
               "\"C:\\stlag\\no such\\browser.exe\" \"%1\"");
    EXPECT_EQ(LaunchTarget(kRefused, SW_SHOW), 0);
}

TEST_F(LaunchTargetTest, CommandLineOverTheBufferIsNotStartedButExplained)
{
    const std::string command = "\"C:\\stlag\\no such\\browser.exe\" \"%1\"";
    SetDefault(HKEY_CLASSES_ROOT, ".htm", kClass);
    SetDefault(HKEY_CLASSES_ROOT, std::string(kClass) + "\\shell\\open\\command", command);
    // The cut command, a blank and the target: 519 bytes still go to the start (and fail
    // there, the program being absent); 520 do not get that far.
    const std::string cut = "\"C:\\stlag\\no such\\browser.exe\"  ";
    const std::string fits = std::string(kRefused) + std::string(519 - cut.size() - std::strlen(kRefused), 'x');
    EXPECT_EQ(LaunchTarget(fits, SW_SHOW), 0);
    EXPECT_EQ(LaunchTarget(fits + "x", SW_SHOW), kCommandTooLong);
    EXPECT_EQ(LaunchErrorText(kCommandTooLong).rfind("Can't open link:\n\n", 0), 0u);
}

TEST(ReadMeOpener, ProgramFolderIsTheLowerCaseFolderOfThisProgram)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, std::strrchr(path, '\\') + 1);
    CharLowerBuffA(&folder[0], static_cast<DWORD>(folder.size()));
    EXPECT_EQ(GetProgramFolder(), folder);
}

TEST(ReadMeOpener, FileMissingBesideTheProgramIsNotOpened)
{
    EXPECT_FALSE(OpenProgramFile("stlag-no-such-file.txt"));
}

}  // namespace
}  // namespace stlag
