#include "launch_command.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace stlag {
namespace {

std::string Build(const std::string& openCommand, const std::string& target, const CodePage& codePage)
{
    std::string commandLine = "untouched";
    EXPECT_TRUE(BuildFallbackCommand(openCommand, target, codePage, commandLine));
    return commandLine;
}

std::string Build(const std::string& openCommand, const std::string& target)
{
    return Build(openCommand, target, SingleByteCodePage());
}

TEST(BuildFallbackCommand, QuotedPlaceholderIsCutAwayAndTheTargetAppendedAfterTwoBlanks)
{
    EXPECT_EQ(Build("\"C:\\Program Files\\Web\\web.exe\" -nohome \"%1\"", "URL:http://www.example.com/"),
              "\"C:\\Program Files\\Web\\web.exe\" -nohome  URL:http://www.example.com/");
}

TEST(BuildFallbackCommand, BarePlaceholderLosesTheArgumentsAfterIt)
{
    EXPECT_EQ(Build("C:\\Web\\web.exe %1 -new-window -x", "mailto:someone@example.com"),
              "C:\\Web\\web.exe  mailto:someone@example.com");
}

TEST(BuildFallbackCommand, CommandWithoutPlaceholderStaysWhole)
{
    EXPECT_EQ(Build("C:\\Web\\web.exe -new", "http://example.com/"), "C:\\Web\\web.exe -new http://example.com/");
    EXPECT_EQ(Build("", "http://example.com/"), " http://example.com/");
}

TEST(BuildFallbackCommand, QuotedPlaceholderIsLookedForFirst)
{
    EXPECT_EQ(Build("web.exe /a%1 \"%1\" /b", "t"), "web.exe /a%1  t");
}

TEST(BuildFallbackCommand, PlaceholderSearchStepsOverDoubleByteCharacters)
{
    // The lead byte 0x81 takes the quote after it as its second byte, so the first quoted
    // placeholder is not one; a single-byte code page sees it as one.
    const std::string command = "web.exe \x81\"%1\" \"%1\"";
    EXPECT_EQ(Build(command, "t", ShiftJisCodePage()), "web.exe \x81\"%1\"  t");
    EXPECT_EQ(Build(command, "t", SingleByteCodePage()), "web.exe \x81 t");
    // Same for the bare placeholder.
    EXPECT_EQ(Build("web.exe \x81%1 %1 x", "t", ShiftJisCodePage()), "web.exe \x81%1  t");
}

TEST(BuildFallbackCommand, TargetWithABlankIsAppendedInQuotes)
{
    EXPECT_EQ(Build("notepad.exe %1", "c:\\program files\\tools\\readme.txt"),
              "notepad.exe  \"c:\\program files\\tools\\readme.txt\"");
    EXPECT_EQ(Build("notepad.exe", "c:\\tab\there.txt"), "notepad.exe \"c:\\tab\there.txt\"");
}

TEST(TargetArgument, LeavesTargetsWithoutBlanksAndQuotedOnesAlone)
{
    EXPECT_EQ(TargetArgument("c:\\tools\\readme.txt"), "c:\\tools\\readme.txt");
    EXPECT_EQ(TargetArgument("\"c:\\my tools\\readme.txt\""), "\"c:\\my tools\\readme.txt\"");
    EXPECT_EQ(TargetArgument(""), "");
}

TEST(TargetArgument, DoublesBackslashesBeforeTheClosingQuote)
{
    EXPECT_EQ(TargetArgument("c:\\my tools\\"), "\"c:\\my tools\\\\\"");
    EXPECT_EQ(TargetArgument("c:\\my tools\\\\"), "\"c:\\my tools\\\\\\\\\"");
}

TEST(BuildFallbackCommand, ACommandLineOf519BytesFitsTheBuffer)
{
    const std::string command = "web.exe %1";
    const std::string target(519 - std::string("web.exe  ").size(), 'x');
    const std::string built = Build(command, target);
    EXPECT_EQ(built.size(), 519u);
    EXPECT_EQ(built, "web.exe  " + target);
}

TEST(BuildFallbackCommand, ACommandLineThatWouldNotFitIsRefusedAndNothingIsWritten)
{
    const std::string command = "web.exe %1";
    const std::string target(520 - std::string("web.exe  ").size(), 'x');
    std::string commandLine = "untouched";
    EXPECT_FALSE(BuildFallbackCommand(command, target, SingleByteCodePage(), commandLine));
    EXPECT_EQ(commandLine, "untouched");
}

TEST(BuildFallbackCommand, QuotesCountTowardsTheLimit)
{
    // 517 bytes unquoted, 519 with the two quotes; one byte more no longer fits.
    const std::string command = "web.exe";
    std::string target = "a b" + std::string(519 - 2 - 8 - 3, 'x');
    std::string commandLine;
    EXPECT_TRUE(BuildFallbackCommand(command, target, SingleByteCodePage(), commandLine));
    EXPECT_EQ(commandLine.size(), 519u);
    target += 'x';
    EXPECT_FALSE(BuildFallbackCommand(command, target, SingleByteCodePage(), commandLine));
}

TEST(LaunchErrorText, ShellCode31ReadsInFull)
{
    EXPECT_EQ(LaunchErrorText(31),
              "Can't open link:\n\nThere is no application associated\nwith the given filename extension.");
}

TEST(LaunchErrorText, EveryCodeOfTheTableHasItsMessage)
{
    const std::string prefix = "Can't open link:\n\n";
    EXPECT_EQ(LaunchErrorText(0), prefix + "The operating system is out\nof memory or resources.");
    EXPECT_EQ(LaunchErrorText(2), prefix + "The specified file was not found.");
    EXPECT_EQ(LaunchErrorText(3), prefix + "The specified path was not found.");
    EXPECT_EQ(LaunchErrorText(5), prefix + "The operating system denied\naccess to the specified file.");
    EXPECT_EQ(LaunchErrorText(8), prefix + "There was not enough memory to complete the operation.");
    EXPECT_EQ(LaunchErrorText(11), prefix + "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
    EXPECT_EQ(LaunchErrorText(26), prefix + "A sharing violation occurred. ");
    EXPECT_EQ(LaunchErrorText(27), prefix + "The filename association is\nincomplete or invalid.");
    EXPECT_EQ(LaunchErrorText(28),
              prefix + "The DDE transaction could not\nbe completed because the request timed out.");
    EXPECT_EQ(LaunchErrorText(29), prefix + "The DDE transaction failed.");
    EXPECT_EQ(LaunchErrorText(30), prefix +
                                       "The DDE transaction could not\nbe completed because other DDE "
                                       "transactions\nwere being processed.");
    EXPECT_EQ(LaunchErrorText(32), prefix + "The specified dynamic-link library was not found.");
}

TEST(LaunchErrorText, TooLongCommandLineIsExplained)
{
    EXPECT_EQ(LaunchErrorText(kCommandTooLong),
              "Can't open link:\n\nThe command line for the link is too long\nto be started.");
}

TEST(LaunchErrorText, OtherCodesShowTheirNumber)
{
    EXPECT_EQ(LaunchErrorText(33), "Can't open link:\n\nUnknown Error (33) occurred.");
    EXPECT_EQ(LaunchErrorText(-1), "Can't open link:\n\nUnknown Error (-1) occurred.");
    EXPECT_EQ(LaunchErrorText(1), "Can't open link:\n\nUnknown Error (1) occurred.");
    EXPECT_EQ(LaunchErrorText(-2147483647 - 1), "Can't open link:\n\nUnknown Error (-2147483648) occurred.");
}

}  // namespace
}  // namespace stlag
