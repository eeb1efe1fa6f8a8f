// The scan over Wine's real registry, through the Win32 adapters and the program's
// own string resources.
#include <gtest/gtest.h>

#include "rc_texts.h"
#include "start_keys.h"
#include "win32_platform.h"
#include "win32_registry.h"

namespace stlag {
namespace {

class RealRegistryScan : public ::testing::Test {
protected:
    void SetUp() override { DeleteStartKeys(); }
    void TearDown() override { DeleteStartKeys(); }
    int Scan()
    {
        RunKeyScanner scanner(registry, checker, codePage, texts);
        return scanner.ScanRunKeys(findings, log, nullptr);
    }

    Win32Registry registry;
    Win32FileSystem files;
    Win32CodePage codePage;
    ResourceTexts texts;
    CommandLineChecker checker{files, codePage};
    RunEntryFixList findings;
    std::string log;
};

TEST_F(RealRegistryScan, ResourcesGiveTheSameTextsAsTheStringTableSource)
{
    ASSERT_EQ(1252u, GetACP()) << "the tests expect Wine's default ANSI code page";
    RcTexts source;
    for (const auto& entry : source.All())
        EXPECT_EQ(entry.second, texts.Load(entry.first)) << "string " << entry.first;
}

TEST_F(RealRegistryScan, SeededKeysGiveTheExpectedLogAndFindings)
{
    const std::string program = "C:\\Program Files\\Startlagaren Test\\foo.exe";
    ASSERT_TRUE(CreateFileWithFolders(program));
    SetString(HKEY_CURRENT_USER, "Run", "Foo", program + " /x");
    SetValue(HKEY_CURRENT_USER, "Run", "Xpand", REG_EXPAND_SZ, std::string("%SystemRoot%\\baz.exe", 21) + '\0');
    SetString(HKEY_LOCAL_MACHINE, "Run", "ctfmon", "C:\\windows\\system32\\notepad.exe");
    SetString(HKEY_LOCAL_MACHINE, "Run", "Gone", "C:\\Program Files\\Nowhere\\gone.exe -q");
    SetString(HKEY_LOCAL_MACHINE, "RunOnce\\Setup", "", Ansi(" C:\\Åäö\\setup.exe "));

    EXPECT_EQ(3, Scan());

    // Wine enumerates a key's values by name; the names are chosen so that is seeding order.
    const std::string expected = Ansi(
        "Sökväg: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\r\n"
        "\r\n\tVärde: Foo\r\n"
        "\tData: C:\\Program Files\\Startlagaren Test\\foo.exe /x\r\n"
        "\tFELAKTIGT VÄRDE! Rekommenderad ändring: \"C:\\Program Files\\Startlagaren Test\\foo.exe\" /x\r\n"
        "\r\n\tVärde: Xpand\r\n"
        "\tDetta är ingen sträng.\r\n"
        "\r\n\r\n"
        "Sökväg: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\r\n"
        "Denna nyckel finns inte eller så har du inte rättigheter att öppna den.\r\n"
        "\r\n\r\n"
        "Sökväg: HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\r\n"
        "\r\n\tVärde: ctfmon\r\n"
        "\tData: C:\\windows\\system32\\notepad.exe\r\n"
        "\tOK\r\n"
        "\r\n\tVärde: Gone\r\n"
        "\tData: C:\\Program Files\\Nowhere\\gone.exe -q\r\n"
        "\tFELAKTIGT VÄRDE! Rekommenderad ändring: Ta bort värde\r\n"
        "\r\n\r\n"
        // Created as the parent of RunOnce\Setup, with no values of its own.
        "Sökväg: HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\r\n"
        "\r\n\r\n"
        "Sökväg: HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices\r\n"
        "Denna nyckel finns inte eller så har du inte rättigheter att öppna den.\r\n"
        "\r\n\r\n"
        "Sökväg: HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce\r\n"
        "Denna nyckel finns inte eller så har du inte rättigheter att öppna den.\r\n"
        "\r\n\r\n"
        "Sökväg: HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\Setup\r\n"
        "\r\n\tVärde: \r\n"
        "\tData:  C:\\Åäö\\setup.exe \r\n"
        "\tFELAKTIGT VÄRDE! Rekommenderad ändring: C:\\Åäö\\setup.exe\r\n");
    EXPECT_EQ(expected, log);
    ASSERT_EQ(3, findings.Count());
    EXPECT_EQ("\"" + program + "\" /x", findings.At(0).newData);
    EXPECT_EQ("", findings.At(1).newData);
    EXPECT_EQ("RunOnce\\Setup", findings.At(2).keyName);
}

TEST_F(RealRegistryScan, CharactersOutsideTheCodePageAreNotJudged)
{
    // Under code page 1252 the ANSI functions turn "Ł" into "L"; writing that back would
    // break a working entry.
    SetWideString(HKEY_CURRENT_USER, "Run", L"Lukasz tool", L"C:\\Users\\\x0141ukasz\\My Tool\\tool.exe");
    SetString(HKEY_CURRENT_USER, "Run", "next", "C:\\Program Files\\Nowhere\\x.exe");

    EXPECT_EQ(1, Scan());

    EXPECT_NE(std::string::npos,
              log.find(Ansi("\tVärdet innehåller tecken som inte finns i systemets teckentabell. Det har inte "
                            "bedömts och lämnas som det är.\r\n")));
    ASSERT_EQ(1, findings.Count());
    EXPECT_EQ("next", findings.At(0).valueName);
}

TEST_F(RealRegistryScan, OverlongValueNameDoesNotHideTheRestOfTheKey)
{
    SetString(HKEY_CURRENT_USER, "Run", std::string(5000, 'n'), "C:\\Program Files\\Nowhere\\a.exe");
    SetString(HKEY_CURRENT_USER, "Run", "after", "C:\\Program Files\\Nowhere\\b.exe");

    EXPECT_EQ(1, Scan());

    EXPECT_NE(std::string::npos, log.find(Ansi("har ett för långt namn (över 4095 tecken)")));
    ASSERT_EQ(1, findings.Count());
    EXPECT_EQ("after", findings.At(0).valueName);
}

}  // namespace
}  // namespace stlag
