#include "command_line_checker.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace stlag {
namespace {

struct Example {
    const char* data;
    bool exists;  // FileExists' answer for the program path, where it is asked
    bool fine;
    const char* newData;
};

// The worked examples: a command line, whether its program exists, the verdict and the proposal.
const Example kExamples[] = {
    {"", false, false, ""},
    {"\"", false, false, ""},
    {"\"\"", false, true, ""},
    {"   ", false, false, ""},
    {"  C:\\Program Files\\Foo\\foo.exe /x", true, false, "C:\\Program Files\\Foo\\foo.exe /x"},
    {"C:\\Program Files\\Foo\\foo.exe /x", true, false, "\"C:\\Program Files\\Foo\\foo.exe\" /x"},
    {"C:\\Program Files\\Foo\\foo.exe /x", false, false, ""},
    {"C:\\Program Files\\Foo\\FOO.EXE", true, false, "\"C:\\Program Files\\Foo\\FOO.EXE\""},
    {"\"C:\\Program Files\\Foo\\foo.exe\" /x", true, true, ""},
    {"C:\\PROGRA~1\\Foo\\FOO.EXE /x", true, true, ""},
    {"rundll32.exe C:\\Program Files\\Foo\\bar.dll,Start", true, true, ""},
    {"C:\\Program Files\\Foo\\run.bat C:\\Foo\\go.exe", false, false, ""},
    {"My Tools\\tool.exe", true, true, ""},
    {"my tool.exe C:\\x.txt", true, false, "\"my tool.exe\" C:\\x.txt"},
    {"C:\\My Files\\x.executable", false, false, ""},
    {"notepad", true, true, ""},
    {"C:\\Windows\\notepad", true, true, ""},
    {"C:\\Program Files\\Foo\\foo.exe\"", true, false, "\"C:\\Program Files\\Foo\\foo.exe\"\""},
    // Trimming alone: an unquoted path inside stays unquoted until the next run.
    {"C:\\Program Files\\Foo\\foo.exe\t", true, false, "C:\\Program Files\\Foo\\foo.exe"},
    {"\r\nC:\\Windows\\x.exe\r\n", true, false, "C:\\Windows\\x.exe"},
    // A tab is white space for trimming only, never a blank inside the path.
    {"C:\\Program\tFiles\\foo.exe", true, true, ""},
    // .bat, .dll and .com are found when no .exe is there.
    {"C:\\Program Files\\Foo\\go.bat -q", true, false, "\"C:\\Program Files\\Foo\\go.bat\" -q"},
    {"C:\\Program Files\\Foo\\x.com", true, false, "\"C:\\Program Files\\Foo\\x.com\""},
    {"C:\\Program Files\\Foo\\x.DLL,Entry", true, false, "\"C:\\Program Files\\Foo\\x.DLL\",Entry"},
    // Arguments are copied byte for byte, a second program in them is never looked at.
    {"C:\\Program Files\\A\\a.exe C:\\Program Files\\B\\b.exe  %1", true, false,
     "\"C:\\Program Files\\A\\a.exe\" C:\\Program Files\\B\\b.exe  %1"},
};

// Answers every existence question the same way, as the example table assumes.
class FixedAnswerFileSystem : public MemoryFileSystem {
public:
    explicit FixedAnswerFileSystem(bool answer) : answer_(answer) {}
    bool FileExists(const std::string&) const override { return answer_; }

private:
    bool answer_;
};

TEST(CommandLineChecker, WorkedExamples)
{
    SingleByteCodePage cp;
    for (const Example& e : kExamples) {
        FixedAnswerFileSystem fs(e.exists);
        CommandLineChecker checker(fs, cp);
        std::string newData;
        EXPECT_EQ(e.fine, checker.CheckCommandLine(e.data, newData)) << "data: [" << e.data << "]";
        EXPECT_EQ(std::string(e.newData), newData) << "data: [" << e.data << "]";
    }
}

TEST(CommandLineChecker, FineLeavesNewDataUntouchedAndAsksFileSystemOnlyForQuoting)
{
    MemoryFileSystem fs;
    SingleByteCodePage cp;
    CommandLineChecker checker(fs, cp);
    std::string newData = "unchanged";
    EXPECT_TRUE(checker.CheckCommandLine("\"C:\\Program Files\\a b.exe\"", newData));
    EXPECT_EQ("unchanged", newData);
    EXPECT_TRUE(fs.existenceQueries.empty());

    newData.clear();
    EXPECT_FALSE(checker.CheckCommandLine("C:\\Program Files\\Foo\\foo.exe /x", newData));
    ASSERT_EQ(1u, fs.existenceQueries.size());
    EXPECT_EQ("C:\\Program Files\\Foo\\foo.exe", fs.existenceQueries[0]);
}

TEST(CommandLineChecker, DoubleByteTrailBytesAreNeitherBackslashNorBlank)
{
    MemoryFileSystem fs;
    ShiftJisCodePage cp;
    CommandLineChecker checker(fs, cp);
    std::string newData;
    // 0x95 0x5C is one character whose trail byte equals '\': the text has no backslash.
    EXPECT_TRUE(checker.CheckCommandLine("a\x95\x5C" "b c.exe", newData));
    // 0x81 0x20 is not a real pair in 932, but a lead byte makes the next byte its trail:
    // the "blank" inside it must not count, so the path has no blank.
    EXPECT_TRUE(checker.CheckCommandLine("C:\\Tools\\x\x81 y.exe", newData));
    // Trailing white space after a double-byte character is still trimmed, the pair kept.
    EXPECT_FALSE(checker.CheckCommandLine("C:\\x\x95\x5C ", newData));
    EXPECT_EQ("C:\\x\x95\x5C", newData);
    // The same bytes under a single-byte code page: a real backslash and a real blank.
    SingleByteCodePage single;
    CommandLineChecker singleChecker(fs, single);
    newData = "x";
    EXPECT_FALSE(singleChecker.CheckCommandLine("a\x95\x5C" "b c.exe", newData));
    EXPECT_EQ("", newData);
}

TEST(CommandLineChecker, ExtensionSearchStepsOverDoubleByteCharacters)
{
    MemoryFileSystem fs;
    ShiftJisCodePage cp;
    CommandLineChecker checker(fs, cp);
    fs.AddFile("C:\\A B\\\x81.exe.exe");
    std::string newData;
    // The ".exe" hidden in a trail byte (0x81 0x2E) is not a match; the real one after is.
    EXPECT_FALSE(checker.CheckCommandLine("C:\\A B\\\x81.exe.exe", newData));
    EXPECT_EQ("\"C:\\A B\\\x81.exe.exe\"", newData);
}

}  // namespace
}  // namespace stlag
