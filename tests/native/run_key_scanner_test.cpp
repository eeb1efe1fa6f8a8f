#include "run_key_scanner.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "fakes.h"
#include "memory_registry.h"
#include "rc_texts.h"

namespace stlag {
namespace {

const RegistryRoot kHkcu = RegistryRoot::CurrentUser;
const RegistryRoot kHklm = RegistryRoot::LocalMachine;
const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kRunOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

std::vector<std::string> Lines(const std::string& log)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(log.substr(start, end - start));
    EXPECT_EQ(log.size(), start) << "the log must end with CR LF";
    return lines;
}

class ScannerTest : public ::testing::Test {
protected:
    int Scan()
    {
        ++scans;
        RunKeyScanner scanner(registry, checker, codePage, texts);
        return scanner.ScanRunKeys(findings, log, [this] { ++refreshes; });
    }
    std::string MissingBlock(const char* root, const char* key)
    {
        return Ansi("Sökväg: ") + root + "\\Software\\Microsoft\\Windows\\CurrentVersion\\" + key + "\r\n" +
               Ansi("Denna nyckel finns inte eller så har du inte rättigheter att öppna den.\r\n");
    }

    MemoryRegistry registry;
    MemoryFileSystem files;
    SingleByteCodePage codePage;
    CommandLineChecker checker{files, codePage};
    RcTexts texts;
    RunEntryFixList findings;
    std::string log;
    int scans = 0;
    int refreshes = 0;
};

TEST_F(ScannerTest, ExampleLogLineByLine)
{
    registry.SetString(kHkcu, kRun, "Foo", "C:\\Program Files\\Foo\\foo.exe /x");
    MemoryValue baz;
    baz.name = "Baz";
    baz.type = kRegExpandSz;
    baz.data = std::string("%SystemRoot%\\baz.exe\0", 21);
    registry.SetValue(kHkcu, kRun, baz);
    registry.SetString(kHklm, kRun, "ctfmon", "C:\\WINDOWS\\system32\\ctfmon.exe");
    files.AddFile("C:\\Program Files\\Foo\\foo.exe");

    EXPECT_EQ(1, Scan());

    const std::vector<std::string> expected = {
        Ansi("Sökväg: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"),
        "",
        Ansi("\tVärde: Foo"),
        "\tData: C:\\Program Files\\Foo\\foo.exe /x",
        Ansi("\tFELAKTIGT VÄRDE! Rekommenderad ändring: \"C:\\Program Files\\Foo\\foo.exe\" /x"),
        "",
        Ansi("\tVärde: Baz"),
        Ansi("\tDetta är ingen sträng."),
        "",
        "",
        Ansi("Sökväg: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"),
        Ansi("Denna nyckel finns inte eller så har du inte rättigheter att öppna den."),
        "",
        "",
        Ansi("Sökväg: HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"),
        "",
        Ansi("\tVärde: ctfmon"),
        "\tData: C:\\WINDOWS\\system32\\ctfmon.exe",
        "\tOK",
        "",
        "",
    };
    const std::vector<std::string> lines = Lines(log);
    ASSERT_GE(lines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(expected[i], lines[i]) << "line " << i + 1;
    // The four remaining keys do not exist.
    EXPECT_EQ(expected.size() + 4 * 4 - 2, lines.size());

    ASSERT_EQ(1, findings.Count());
    EXPECT_EQ((RunEntryFix{"Foo", "C:\\Program Files\\Foo\\foo.exe /x", "\"C:\\Program Files\\Foo\\foo.exe\" /x",
                           "Run", "HKEY_CURRENT_USER"}),
              findings.At(0));
    EXPECT_EQ(1, refreshes);
}

TEST_F(ScannerTest, AllKeysMissingGiveSevenHeadersAndNothingFound)
{
    findings.Append(RunEntryFix{"stale", "", "", "Run", "HKEY_CURRENT_USER"});
    log = "stale log";
    registry.CreateKey(kHklm, kRun);
    registry.DenyAccess(kHklm, kRun, RegAccess::Read);

    EXPECT_EQ(0, Scan());

    std::string expected;
    for (const RunKeyPath& path : kRunKeyPaths) {
        if (!expected.empty())
            expected += "\r\n\r\n";
        expected += MissingBlock(path.rootName, path.keyName);
    }
    EXPECT_EQ(expected, log);
    EXPECT_EQ(0, findings.Count());
    EXPECT_EQ(0, registry.OpenKeyCount());
}

TEST_F(ScannerTest, EmptyKeyDefaultValueAndSetupKey)
{
    registry.CreateKey(kHkcu, kRun);
    registry.SetString(kHklm, kRunOnce + "\\Setup", "", "");

    EXPECT_EQ(1, Scan());

    const std::string hkcuRun = Ansi("Sökväg: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\r\n");
    EXPECT_EQ(0u, log.find(hkcuRun + "\r\n\r\n" + MissingBlock("HKEY_CURRENT_USER", "RunOnce")));
    const std::string setup =
        Ansi("Sökväg: HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\Setup\r\n"
             "\r\n\tVärde: \r\n\tData: \r\n\tFELAKTIGT VÄRDE! Rekommenderad ändring: Ta bort värde\r\n");
    ASSERT_GE(log.size(), setup.size());
    EXPECT_EQ(setup, log.substr(log.size() - setup.size()));
    EXPECT_EQ((RunEntryFix{"", "", "", "RunOnce\\Setup", "HKEY_LOCAL_MACHINE"}), findings.At(0));
}

TEST_F(ScannerTest, NonStringValuesDoNotHideLaterOnesAndFindingsFollowTheLog)
{
    registry.SetString(kHklm, kRun, "first", "   ");
    MemoryValue dword;
    dword.name = "number";
    dword.type = kRegDword;
    dword.data = std::string("\x01\0\0\0", 4);
    registry.SetValue(kHklm, kRun, dword);
    registry.SetString(kHklm, kRun, "second", "C:\\Program Files\\Gone\\gone.exe");
    registry.SetString(kHkcu, kRunOnce, "percent", "C:\\%s%d%n\\x.exe %1 %%");

    EXPECT_EQ(2, Scan());

    EXPECT_EQ("first", findings.At(0).valueName);
    EXPECT_EQ("", findings.At(0).newData);
    EXPECT_EQ("second", findings.At(1).valueName);
    EXPECT_EQ("HKEY_LOCAL_MACHINE", findings.At(1).rootName);
    EXPECT_NE(std::string::npos, log.find(Ansi("\tVärde: number\r\n\tDetta är ingen sträng.\r\n\r\n\tVärde: second")));
    EXPECT_NE(std::string::npos, log.find("\tData: C:\\%s%d%n\\x.exe %1 %%\r\n\tOK\r\n"));
    EXPECT_LT(log.find("first"), log.find("second"));
}

TEST_F(ScannerTest, ScanningTwiceGivesTheSameResult)
{
    registry.SetString(kHkcu, kRun, "a", "C:\\Program Files\\A\\a.exe");
    registry.SetString(kHkcu, kRun, "b", " x ");
    EXPECT_EQ(2, Scan());
    const std::string firstLog = log;
    const RunEntryFixList firstFindings = findings;
    EXPECT_EQ(2, Scan());
    EXPECT_EQ(firstLog, log);
    ASSERT_EQ(firstFindings.Count(), findings.Count());
    for (int i = 0; i < findings.Count(); ++i)
        EXPECT_EQ(firstFindings.At(i), findings.At(i));
    EXPECT_EQ(2, refreshes);
}

TEST_F(ScannerTest, DataThatCannotBeReadIsNeverProposedForDeletion)
{
    registry.SetString(kHkcu, kRun, "grows", "C:\\Program Files\\B\\b.exe");
    registry.SetString(kHkcu, kRun, "after", "C:\\Program Files\\C\\c.exe");
    registry.SetString(kHkcu, kRun, "vanishes", "C:\\Program Files\\A\\a.exe");
    // Between the size query and the read, one value is removed and another grows.
    registry.beforeQuery = [this](const std::string& name, bool sizeQuery) {
        if (name == "vanishes" && !sizeQuery)
            registry.RemoveValue(kHkcu, kRun, "vanishes");
        if (name == "grows" && !sizeQuery)
            registry.SetString(kHkcu, kRun, "grows", "C:\\Program Files\\B\\b.exe /a much longer tail");
    };

    EXPECT_EQ(1, Scan());

    const std::string unreadable = Ansi("\tVärdet kunde inte läsas. Det har inte bedömts och lämnas som det är.\r\n");
    EXPECT_NE(std::string::npos, log.find(Ansi("\tVärde: vanishes\r\n") + unreadable));
    EXPECT_NE(std::string::npos, log.find(Ansi("\tVärde: grows\r\n") + unreadable));
    ASSERT_EQ(1, findings.Count());
    EXPECT_EQ("after", findings.At(0).valueName);
}

TEST_F(ScannerTest, TextOutsideTheCodePageIsLeftAlone)
{
    // The system holds "C:\Users\Łukasz\..." but the ANSI functions answer with "L".
    MemoryValue lossy;
    lossy.name = "lossy";
    lossy.data = std::string("C:\\Users\\Lukasz\\My App\\app.exe\0", 31);
    lossy.wideData = u"C:\\Users\\\u0141ukasz\\My App\\app.exe";
    lossy.hasWideData = true;
    registry.SetValue(kHkcu, kRun, lossy);
    registry.SetString(kHkcu, kRun, "plain", Ansi("C:\\Program Files\\Åäö\\a.exe"));

    EXPECT_EQ(1, Scan());

    EXPECT_NE(std::string::npos,
              log.find(Ansi("\tVärde: lossy\r\n\tData: C:\\Users\\Lukasz\\My App\\app.exe\r\n\tVärdet innehåller tecken "
                            "som inte finns i systemets teckentabell. Det har inte bedömts och lämnas som det är.\r\n")));
    ASSERT_EQ(1, findings.Count());
    EXPECT_EQ("plain", findings.At(0).valueName);
}

TEST_F(ScannerTest, OverlongNameIsLoggedAndTheWalkGoesOn)
{
    registry.SetString(kHkcu, kRun, std::string(4095, 'n'), "C:\\Program Files\\A\\a.exe");
    registry.SetString(kHkcu, kRun, std::string(4096, 'x'), "C:\\Program Files\\B\\b.exe");
    registry.SetString(kHkcu, kRun, "later", "C:\\Program Files\\C\\c.exe");

    EXPECT_EQ(2, Scan());

    EXPECT_EQ(std::string(4095, 'n'), findings.At(0).valueName);
    EXPECT_EQ("later", findings.At(1).valueName);
    EXPECT_NE(std::string::npos,
              log.find(Ansi("\r\n\tVärde nummer 1 har ett för långt namn (över 4095 tecken). Det har inte "
                            "bedömts och lämnas som det är.\r\n\r\n\tVärde: later")));
}

}  // namespace
}  // namespace stlag
