// The backup file as the registry editor will read it back, and what becomes of it when the disk fails.
#include <gtest/gtest.h>

#include <functional>

#include "fakes.h"
#include "reg_backup_writer.h"

using namespace stlag;

static const char kFile[] = "c:\\b.reg";  // as the memory file system folds "C:\B.reg"

static std::string Times(const std::string& text, int count)
{
    return count > 0 ? text + Times(text, count - 1) : std::string();
}

TEST(RegBackupWriter, ValueLines)
{
    const struct { std::string name, data; bool doubleByte; std::string line; } cases[] = {
        {"a\\b", "C:\\x \"q\"", false, R"("a\\b"="C:\\x \"q\"")"},
        {"", "x", false, R"(""="x")"},
        {Ansi("åäö"), Ansi("Ö"), false, Ansi(R"("åäö"="Ö")")},
        {"n", "\x95\x5C\\", true, "\"n\"=\"\x95\x5C\\\\\""},
        {"n", "\x95\x5C", false, "\"n\"=\"\x95\\\\\""},
        {"v\\", "\"a\"\r\nb", false, "\"v\\\\\"=hex(1):22,61,22,0d,0a,62,00"},
        {"v", Times("a", 46) + "\n", false,
         "\"v\"=hex(1):" + Times("61,", 22) + "\\\n  " + Times("61,", 24) + "0a,\\\n  00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RegBackupWriter::ValueLine(c.name, c.data, FakeCodePage(c.doubleByte)), c.line) << c.data;
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
    EXPECT_TRUE(writer.Finish());
    EXPECT_FALSE(writer.Finish());
    EXPECT_EQ(fs.onDisk[kFile], "REGEDIT4\n\n[K\\A]\n\"x\"=\"1\"\n\"y\"=\"C:\\\\p\"\n\n[K\\B]\n\"z\"=hex(1):61,0a,62,00"
                                "\n\n[K\\A]\n\"\"=\"4\"\n");
}

TEST(RegBackupWriter, Failures)
{
    using Fault = std::function<void(MemoryFileSystem&)>;
    const Fault none = [](MemoryFileSystem&) {};
    // left: the file afterwards.
    const struct { const char* what; Fault before, afterCreate; bool created, written; std::string left; } cases[] = {
        {"not created", [](MemoryFileSystem& fs) { fs.failCreate = true; }, none, false, false, "(none)"},
        {"exists", [](MemoryFileSystem& fs) { fs.files[kFile] = "mine"; }, none, false, false, "mine"},
        {"signature not written", [](MemoryFileSystem& fs) { fs.failWriteHolding = "REGEDIT4"; }, none, false, false,
         "(none)"},
        {"signature not flushed", [](MemoryFileSystem& fs) { fs.failFlush = true; }, none, false, false, "(none)"},
        {"no header", none, [](MemoryFileSystem& fs) { fs.failWriteHolding = "[K]"; }, true, false, "REGEDIT4"},
        {"line not written", none, [](MemoryFileSystem& fs) { fs.failWriteHolding = "old"; }, true, false,
         "REGEDIT4\n\n[K]"},
        {"line not flushed", none, [](MemoryFileSystem& fs) { fs.failFlush = true; }, true, false,
         "REGEDIT4\n\n[K]\n\"n\"=\"old\""},
        {"all well", none, none, true, true, "REGEDIT4\n\n[K]\n\"n\"=\"old\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryFileSystem fs;
        const FakeCodePage codePage;
        RegBackupWriter writer(fs, codePage);
        c.before(fs);
        EXPECT_EQ(writer.Create("C:\\B.reg"), c.created);
        c.afterCreate(fs);
        EXPECT_EQ(writer.WriteValue("K", "n", "old"), c.written);
        const auto file = fs.files.find(kFile);
        EXPECT_EQ(file == fs.files.end() ? "(none)" : file->second, c.left);
    }
}
