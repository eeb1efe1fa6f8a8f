#include "reg_backup_writer.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "rc_texts.h"

namespace stlag {
namespace {

const SingleByteCodePage singleByte;

const std::string kPath = "C:\\Backup\\Startlagaren.reg";
const std::string kHkcuRun = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kHklmRun = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string Repeat(const std::string& s, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += s;
    return out;
}

class BackupWriterTest : public ::testing::Test {
protected:
    // The file of one writer that records the given values and finishes.
    struct Value {
        std::string keyPath, name, data;
    };
    std::string FileOf(const std::vector<Value>& values)
    {
        RegBackupWriter writer(files, singleByte);
        EXPECT_TRUE(writer.Create(kPath));
        for (const Value& v : values)
            EXPECT_TRUE(writer.WriteValue(v.keyPath, v.name, v.data));
        EXPECT_TRUE(writer.Finish());
        return files.Contents(kPath);
    }
    MemoryFileSystem files;
};

TEST_F(BackupWriterTest, ThreeFindingExampleByteForByte)
{
    const std::string file = FileOf({
        {kHklmRun, "Bar", "C:\\Program Files\\Bar\\bar.exe /f \"x y\""},
        {kHklmRun, "Foo", "C:\\Program Files\\Foo\\foo.exe"},
        {kHkcuRun, "Baz", "C:\\Program Files\\Baz\\baz.exe"},
    });
    const std::string expected =
        "REGEDIT4\n"
        "\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n"
        "\"Bar\"=\"C:\\\\Program Files\\\\Bar\\\\bar.exe /f \\\"x y\\\"\"\n"
        "\"Foo\"=\"C:\\\\Program Files\\\\Foo\\\\foo.exe\"\n"
        "\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n"
        "\"Baz\"=\"C:\\\\Program Files\\\\Baz\\\\baz.exe\"\n";
    EXPECT_EQ(expected, file);
    EXPECT_EQ(275u, file.size());
}

TEST_F(BackupWriterTest, NothingRecordedIsNineBytes)
{
    EXPECT_EQ(std::string("REGEDIT4\n"), FileOf({}));
}

TEST_F(BackupWriterTest, DoubleByteCharactersAreNotEscapedByHalves)
{
    // 0x95 0x5C is one character under a double-byte code page: its second byte is no
    // backslash, and doubling it would corrupt the value when the file is imported.
    const ShiftJisCodePage doubleByte;
    EXPECT_EQ("\"a\x95\x5C\"=\"C:\\\\x\x95\x5C\\\\y.exe\\\"\"",
              RegBackupWriter::ValueLine("a\x95\x5C", "C:\\x\x95\x5C\\y.exe\"", doubleByte));
    EXPECT_EQ("\"a\\\\\"=\"C:\\\\x\\\\\\\\y.exe\\\"\"",
              RegBackupWriter::ValueLine("a\x5C", "C:\\x\x5C\\y.exe\"", singleByte));
}

TEST_F(BackupWriterTest, ValueLines)
{
    struct Case {
        const char* name;
        std::string data;
        std::string line;
    } cases[] = {
        {"a", "C:\\a \"b\"", "\"a\"=\"C:\\\\a \\\"b\\\"\""},
        {"a", "", "\"a\"=\"\""},
        {"a", "\\\"", "\"a\"=\"\\\\\\\"\""},  // the backslash before the quote stays single
        {"a", "100% \t\xE5\xE4\xF6", "\"a\"=\"100% \t\xE5\xE4\xF6\""},
        {"", "C:\\x.exe", "\"\"=\"C:\\\\x.exe\""},
        {"a\\b", "x", "\"a\\\\b\"=\"x\""},
        {"say \"hi\"", "x", "\"say \\\"hi\\\"\"=\"x\""},
        {"a\\\"b", "x", "\"a\\\\\\\"b\"=\"x\""},
        {"\xC5r", "x", "\"\xC5r\"=\"x\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.line, RegBackupWriter::ValueLine(c.name, c.data, singleByte)) << c.name << " / " << c.data;
        MemoryFileSystem fresh;
        RegBackupWriter writer(fresh, singleByte);
        ASSERT_TRUE(writer.Create(kPath));
        ASSERT_TRUE(writer.WriteValue(kHkcuRun, c.name, c.data));
        ASSERT_TRUE(writer.Finish());
        EXPECT_EQ("REGEDIT4\n\n[" + kHkcuRun + "]\n" + c.line + "\n", fresh.Contents(kPath));
    }
}

TEST_F(BackupWriterTest, LineBreaksInTheDataTakeTheHexForm)
{
    struct Case {
        std::string name, data, line;
    } cases[] = {
        {"a", "x\r\n", "\"a\"=hex(1):78,0d,0a,00"},
        {"a", "\n", "\"a\"=hex(1):0a,00"},
        {"a", "\r", "\"a\"=hex(1):0d,00"},
        {"", "C:\\\xE5 \"q\"\r\n", "\"\"=hex(1):43,3a,5c,e5,20,22,71,22,0d,0a,00"},
        {"n\\\"", "\xFF\n", "\"n\\\\\\\"\"=hex(1):ff,0a,00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.line, RegBackupWriter::ValueLine(c.name, c.data, singleByte)) << c.data;
}

TEST_F(BackupWriterTest, LongHexLinesWrapAsTheRegistryEditorWrapsThem)
{
    // 40 bytes of 'a', CR, LF and the NUL: 21 pairs fill the first line to column 77,
    // then a backslash; continuation lines start with two blanks.
    const std::string line = RegBackupWriter::ValueLine("test", std::string(40, 'a') + "\r\n", singleByte);
    EXPECT_EQ("\"test\"=hex(1):" + Repeat("61,", 21) + "\\\n  " + Repeat("61,", 19) + "0d,0a,00", line);

    const std::string longer = RegBackupWriter::ValueLine("test", std::string(100, 'b') + "\n", singleByte);
    EXPECT_EQ("\"test\"=hex(1):" + Repeat("62,", 21) + "\\\n  " + Repeat("62,", 25) + "\\\n  " +
                  Repeat("62,", 25) + "\\\n  " + Repeat("62,", 25) + "\\\n  " + Repeat("62,", 4) + "0a,00",
              longer);

    // The last pair never gets a line break after it, but may start a line of its own.
    EXPECT_EQ("\"test\"=hex(1):" + Repeat("63,", 19) + "0a,00",
              RegBackupWriter::ValueLine("test", std::string(19, 'c') + "\n", singleByte));
    EXPECT_EQ("\"test\"=hex(1):" + Repeat("63,", 20) + "0a,\\\n  00",
              RegBackupWriter::ValueLine("test", std::string(20, 'c') + "\n", singleByte));
}

TEST_F(BackupWriterTest, SectionHeaders)
{
    const std::string keyA = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\Setup";
    const std::string keyB = kHkcuRun;
    EXPECT_EQ("REGEDIT4\n\n[" + keyA + "]\n\"1\"=\"a\"\n\"2\"=\"b\"\n\n[" + keyB + "]\n\"3\"=\"c\"\n\n[" + keyA +
                  "]\n\"4\"=\"d\"\n",
              FileOf({{keyA, "1", "a"}, {keyA, "2", "b"}, {keyB, "3", "c"}, {keyA, "4", "d"}}));
}

TEST_F(BackupWriterTest, KeysDifferingOnlyInCaseGetAHeaderEach)
{
    const std::string lower = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\run";
    EXPECT_EQ("REGEDIT4\n\n[" + kHkcuRun + "]\n\"x\"=\"1\"\n\n[" + lower + "]\n\"y\"=\"2\"\n",
              FileOf({{kHkcuRun, "x", "1"}, {lower, "y", "2"}}));
}

TEST_F(BackupWriterTest, EachValueIsOnDiskWhenWriteValueReturns)
{
    RegBackupWriter writer(files, singleByte);
    ASSERT_TRUE(writer.Create(kPath));
    EXPECT_EQ("REGEDIT4", files.flushed["c:\\backup\\startlagaren.reg"]);
    ASSERT_TRUE(writer.WriteValue(kHkcuRun, "a", "1"));
    EXPECT_EQ("REGEDIT4\n\n[" + kHkcuRun + "]\n\"a\"=\"1\"", files.flushed["c:\\backup\\startlagaren.reg"]);
    ASSERT_TRUE(writer.WriteValue(kHkcuRun, "b", "2"));
    EXPECT_EQ("REGEDIT4\n\n[" + kHkcuRun + "]\n\"a\"=\"1\"\n\"b\"=\"2\"", files.flushed["c:\\backup\\startlagaren.reg"]);
    EXPECT_EQ(3, files.flushCount);
    EXPECT_EQ(4, files.writeCount) << "one write for the signature, each header and each value line";
    ASSERT_TRUE(writer.Finish());
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_FALSE(writer.WriteValue(kHkcuRun, "c", "3"));
    EXPECT_FALSE(writer.Finish());
}

TEST_F(BackupWriterTest, CreateNeverReplacesAFile)
{
    files.AddFile(kPath, "precious");
    RegBackupWriter writer(files, singleByte);
    EXPECT_FALSE(writer.Create(kPath));
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_EQ("precious", files.Contents(kPath));
    EXPECT_FALSE(writer.WriteValue(kHkcuRun, "a", "1"));
    EXPECT_EQ("precious", files.Contents(kPath));
}

TEST_F(BackupWriterTest, CreateFailures)
{
    files.failCreate = true;
    RegBackupWriter cannotCreate(files, singleByte);
    EXPECT_FALSE(cannotCreate.Create(kPath));
    EXPECT_FALSE(files.FileExists(kPath));

    MemoryFileSystem signatureFails;
    signatureFails.failWriteNumber = 1;
    RegBackupWriter writer(signatureFails, singleByte);
    EXPECT_FALSE(writer.Create(kPath));
    EXPECT_FALSE(writer.IsOpen());

    MemoryFileSystem flushFails;
    flushFails.failFlushNumber = 1;
    RegBackupWriter unflushed(flushFails, singleByte);
    EXPECT_FALSE(unflushed.Create(kPath));
    EXPECT_FALSE(unflushed.IsOpen());
}

TEST_F(BackupWriterTest, WriteFailuresAreReported)
{
    // Writes: 1 signature, 2 header, 3 first line, 4 second line. Flushes: 1 signature, 2, 3.
    for (int failing = 2; failing <= 4; ++failing) {
        MemoryFileSystem fs;
        fs.failWriteNumber = failing;
        RegBackupWriter writer(fs, singleByte);
        ASSERT_TRUE(writer.Create(kPath));
        EXPECT_EQ(failing > 3, writer.WriteValue(kHkcuRun, "a", "1")) << failing;
        if (failing > 3) {
            EXPECT_FALSE(writer.WriteValue(kHkcuRun, "b", "2")) << failing;
        }
    }
    for (int failing = 2; failing <= 3; ++failing) {
        MemoryFileSystem fs;
        fs.failFlushNumber = failing;
        RegBackupWriter writer(fs, singleByte);
        ASSERT_TRUE(writer.Create(kPath));
        EXPECT_EQ(failing == 3, writer.WriteValue(kHkcuRun, "a", "1")) << failing;
        if (failing == 3) {
            EXPECT_FALSE(writer.WriteValue(kHkcuRun, "b", "2"));
        }
    }
}

TEST_F(BackupWriterTest, AFailedHeaderIsWrittenAgainWithTheNextValue)
{
    files.failWriteNumber = 2;
    RegBackupWriter writer(files, singleByte);
    ASSERT_TRUE(writer.Create(kPath));
    EXPECT_FALSE(writer.WriteValue(kHkcuRun, "a", "1"));
    EXPECT_TRUE(writer.WriteValue(kHkcuRun, "b", "2"));
    EXPECT_TRUE(writer.Finish());
    EXPECT_EQ("REGEDIT4\n\n[" + kHkcuRun + "]\n\"b\"=\"2\"\n", files.Contents(kPath));
}

TEST_F(BackupWriterTest, NamesWithLineBreaksCannotBeRecorded)
{
    EXPECT_TRUE(RegBackupWriter::CanRecordName(""));
    EXPECT_TRUE(RegBackupWriter::CanRecordName("a\\\"b\t"));
    EXPECT_FALSE(RegBackupWriter::CanRecordName("a\nb"));
    EXPECT_FALSE(RegBackupWriter::CanRecordName("a\r"));
}

}  // namespace
}  // namespace stlag
