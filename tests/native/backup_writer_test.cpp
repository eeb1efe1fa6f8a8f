// The backup file as the registry editor will read it back, and what becomes of it when the disk fails.
#include <gtest/gtest.h>

#include "backup_reader.h"
#include "fakes.h"
#include "reg_backup_writer.h"

using namespace stlag;

static const char kFile[] = "c:\\b.reg";  // as the memory file system folds "C:\B.reg"

static std::string Times(const std::string& text, int n) { return n > 0 ? text + Times(text, n - 1) : ""; }

TEST(RegBackupWriter, ValueLines)
{
    const struct { std::string name, data; bool doubleByte; std::string line; } cases[] = {
        {"a\\b", "C:\\x \"q\"", false, R"("a\\b"="C:\\x \"q\"")"},
        {Ansi("åäö"), Ansi("Ö"), false, Ansi(R"("åäö"="Ö")")},
        {"n", "\x95\x5C\\", true, "\"n\"=\"\x95\x5C\\\\\""},  // the trail byte 0x5C is no backslash
        {"n", "\x95\x5C", false, "\"n\"=\"\x95\\\\\""},
        {"v\\", "\"a\"\rb", false, "\"v\\\\\"=hex(1):22,61,22,0d,62,00"},  // a CR alone breaks the line too
        {"v", Times("a", 46) + "\n", false,  // the editor's own layout: wrapped at column 76
         "\"v\"=hex(1):" + Times("61,", 22) + "\\\n  " + Times("61,", 24) + "0a,\\\n  00"},
    };
    // What the editor writes back is what the undo reads back.
    for (const auto& c : cases) {
        EXPECT_EQ(RegBackupWriter::ValueLine(c.name, c.data, FakeCodePage(c.doubleByte)), c.line) << c.data;
        const ParsedBackup read = ReadBackup("REGEDIT4\r\n\r\n[K]\r\n" + c.line + "\r\n", FakeCodePage(c.doubleByte));
        ASSERT_EQ(1u, read.entries.size()) << c.line;
        EXPECT_TRUE(read.entries[0].name == c.name && read.entries[0].data == c.data && read.entries[0].type == kRegSz) << c.line;
    }
    // The only form that gives REG_EXPAND_SZ back with its type.
    EXPECT_EQ(RegBackupWriter::ValueLine("p", "%a%", FakeCodePage(), kRegExpandSz), "\"p\"=hex(2):25,61,25,00");
}

TEST(RegBackupWriter, GoldenFile)
{
    MemoryFileSystem fs;
    const FakeCodePage codePage;
    RegBackupWriter writer(fs, codePage);
    ASSERT_TRUE(writer.Create("C:\\B.reg"));
    const char* values[][3] = {{"K\\A", "x", "1"}, {"K\\A", "y", "C:\\p"}, {"K\\B", "z", "a\nb"}, {"K\\A", "", "4"}};
    for (const auto& value : values) {
        EXPECT_TRUE(writer.WriteValue(value[0], value[1], value[2]));
        EXPECT_EQ(fs.onDisk[kFile], fs.files[kFile]) << "not on disk: " << value[1];
    }
    // No key path or value name may write a section or a value line of its own making.
    for (const std::string& key : std::vector<std::string>{"K\r", "K\n\n[HKEY_CURRENT_USER]\n\"Injected\"=\"yes\"", std::string("K\0x", 3), "K\t", "K\x1f"})
        EXPECT_FALSE(writer.WriteValue(key, "n", "v")) << key;
    for (const std::string& name : {std::string("n\r\n[X]"), std::string("Twin\0x", 6)})
        EXPECT_FALSE(writer.WriteValue("K", name, "v")) << name;
    EXPECT_TRUE(writer.Finish());
    EXPECT_FALSE(writer.Finish());
    EXPECT_EQ(fs.onDisk[kFile], "REGEDIT4\n\n[K\\A]\n\"x\"=\"1\"\n\"y\"=\"C:\\\\p\"\n\n[K\\B]\n\"z\"=hex(1):61,0a,62,00"
                                "\n\n[K\\A]\n\"\"=\"4\"\n");
}

// A fault that keeps the file from being made strikes before Create, any other after it. A failed write ends
// the file on the last value it recorded: a cut line might be imported over a value that was never changed.
TEST(RegBackupWriter, Failures)
{
    const char* values[][3] = {{"K", "a", "1"}, {"K", "b", "C:\\Sakna"}, {"L", "c", "3"}};
    // left: the file afterwards.
    const struct { const char* what; void (*fault)(MemoryFileSystem&); bool created; std::string left; } cases[] = {
        {"exists", [](auto& fs) { fs.files[kFile] = "mine"; }, false, "mine"},
        {"signature not written", [](auto& fs) { fs.failWriteHolding = "REGEDIT4"; }, false, "(none)"},
        {"signature not flushed", [](auto& fs) { fs.failFlush = true; }, false, "(none)"},
        {"line cut", [](auto& fs) { fs.failWriteHolding = "Sakna"; }, true, "REGEDIT4\n\n[K]\n\"a\"=\"1\"\n"},
        {"new section cut", [](auto& fs) { fs.failWriteHolding = "3"; }, true, "REGEDIT4\n\n[K]\n\"a\"=\"1\"\n\"b\"=\"C:\\\\Sakna\"\n"},
        {"line not flushed", [](auto& fs) { fs.failFlush = true; }, true, "REGEDIT4\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryFileSystem fs;
        const FakeCodePage codePage;
        RegBackupWriter writer(fs, codePage);
        if (!c.created)
            c.fault(fs);
        EXPECT_EQ(writer.Create("C:\\B.reg"), c.created);
        if (c.created)
            c.fault(fs);
        for (const auto& value : values)
            writer.WriteValue(value[0], value[1], value[2]);
        EXPECT_EQ(fs.files.count(kFile) != 0 ? fs.files[kFile] : "(none)", c.left);
    }
}
