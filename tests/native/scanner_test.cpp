// The scan read back through its troubleshooting log and its findings.
#include <gtest/gtest.h>

#include "fakes.h"
#include "run_key_scanner.h"
#include "scan_scope.h"

using namespace stlag;

static const RegistryRoot kCu = RegistryRoot::CurrentUser, kLm = RegistryRoot::LocalMachine;

static std::vector<std::string> Lines(std::string text)
{
    std::vector<std::string> lines;
    for (std::size_t end; (end = text.find("\r\n")) != std::string::npos; text.erase(0, end + 2))
        lines.push_back(text.substr(0, end));
    lines.push_back(text);
    return lines;
}

TEST(RunKeyScanner, GoldenLog)
{
    const std::string a = "C:\\Program Files\\A\\a.exe", b = "C:\\Program Files\\B\\b.exe";
    const std::string tooLong(4096, 'n'), longest(4095, 'n');
    MemoryFileSystem fs;
    fs.files[MemoryFileSystem::Fold(a)];
    MemoryRegistry registry;
    registry.SetString(kCu, RunSubKey("Run"), "", a + " /x");
    registry.SetString(kCu, RunSubKey("Run"), "%d", "%s %% 100%");  // copied into the log as they are
    // Each of these would be trimmed if it were judged at all. The flags after the data: name and data in
    // the code page, data read.
    for (const MemoryValue& value : std::vector<MemoryValue>{
             {"Unread", kRegSz, " x", true, true, false}, {"Name?", kRegSz, " x", false},
             {"Data", kRegSz, " x?", true, false}, {"Two", kRegSz, {" x\0 y", 5}}, {"Nuls", kRegSz, {" x\0\0", 4}},
             {tooLong, kRegSz, " x"}, {"Next", kRegSz, " y"}, {longest, kRegSz, " x"}})
        registry.Set(kCu, RunSubKey("RunOnce"), value);
    registry.Set(kLm, RunSubKey("Run"), {"Bin", kRegBinary, "\x01\x02", false});  // no string: judged no further
    registry.SetString(kLm, RunSubKey("Run"), "Gone", b);
    registry.SetString(kLm, RunSubKey("RunOnce"), "Hidden", " x");
    registry.Deny(kLm, RunSubKey("RunOnce"), RegAccess::Read);
    registry.SetString(kLm, RunSubKey("RunOnce\\Setup"), Ansi("Åter"), " x");
    registry.SetString(kLm, RunSubKey("Run"), "Old", b, RegistryView::Wow64);
    registry.Set(kLm, RunSubKey("RunOnce"), {"", kRegSz, ""}, RegistryView::Wow64);

    const std::string hkcu = "HKEY_CURRENT_USER", hklm = "HKEY_LOCAL_MACHINE";
    const std::string cu = "Sökväg: " + hkcu + "\\Software\\Microsoft\\Windows\\CurrentVersion\\";
    const std::string lm = "Sökväg: " + hklm + "\\Software\\Microsoft\\Windows\\CurrentVersion\\";
    const std::string lm32 = "Sökväg: " + hklm + "\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\";
    const std::string missing = "Denna nyckel finns inte eller så har du inte rättigheter att öppna den.";
    const std::string faulty = "\tFELAKTIGT VÄRDE! Rekommenderad ändring: ";
    const std::string notJudged = " Det har inte bedömts och lämnas som det är.";
    const std::string notInCodePage = " innehåller tecken som inte finns i systemets teckentabell.";
    std::vector<std::string> golden = {
        cu + "Run", "", "\tVärde: ", "\tData: " + a + " /x", faulty + "\"" + a + "\" /x",
        "", "\tVärde: %d", "\tData: %s %% 100%", "\tOK", "", "",
        cu + "RunOnce", "", "\tVärde: Unread", "\tVärdet kunde inte läsas." + notJudged,
        "", "\tVärde: Name?", "\tVärdets namn" + notInCodePage + notJudged,
        "", "\tVärde: Data", "\tData:  x?", "\tVärdet" + notInCodePage + notJudged,
        "", "\tVärde: Two", "\tData:  x", "\tVärdet innehåller mer än en sträng." + notJudged,
        "", "\tVärde: Nuls", "\tData:  x", faulty + "x",  // terminators are no further strings
        "", "\tVärde nummer 5 har ett för långt namn (över 4095 tecken)." + notJudged,
        "", "\tVärde: Next", "\tData:  y", faulty + "y",
        "", "\tVärde: " + longest, "\tData:  x", faulty + "x", "", "",
        lm + "Run", "", "\tVärde: Bin", "\tDetta är ingen sträng.",
        "", "\tVärde: Gone", "\tData: " + b, faulty + "Ta bort värde", "", "",
        lm + "RunOnce", missing, "", "",
        lm + "RunServices", missing, "", "",
        lm + "RunServicesOnce", missing, "", "",
        lm + "RunOnce\\Setup", "", "\tVärde: Åter", "\tData:  x", faulty + "x", "", "",
        lm32 + "Run", "", "\tVärde: Old", "\tData: " + b, faulty + "Ta bort värde", "", "",
        lm32 + "RunOnce", "", "\tVärde: ", "\tData: ", faulty + "Ta bort värde", "", "",
        lm32 + "RunServices", missing, "", "", lm32 + "RunServicesOnce", missing, "", "",
        lm32 + "RunOnce\\Setup", missing, ""};
    for (std::string& line : golden)
        line = Ansi(line);

    const FakeCodePage codePage;
    const CommandLineChecker checker(fs, codePage);
    const ScanResult result = RunKeyScanner(registry, checker, RcTexts()).Scan(RunSections());
    EXPECT_EQ(Lines(result.logText), golden);
    const std::string run = RunSubKey("Run"), once = RunSubKey("RunOnce");
    const FindingList findings = {
        {"", a + " /x", "\"" + a + "\" /x", run, hkcu}, {"Nuls", " x", "x", once, hkcu},
        {"Next", " y", "y", once, hkcu}, {longest, " x", "x", once, hkcu}, {"Gone", b, "", run, hklm},
        {Ansi("Åter"), " x", "x", RunSubKey("RunOnce\\Setup"), hklm}, {"Old", b, "", run, hklm, RegistryView::Wow64},
        {"", "", "", once, hklm, RegistryView::Wow64}};
    EXPECT_EQ(result.findings, findings);
}

// Every loaded user hive by its SID, in the place of HKEY_CURRENT_USER (which is one of them),
// and none of the _Classes hives, which hold no start-up keys.
TEST(ScopeSections, EveryLoadedUser)
{
    MemoryRegistry registry;
    registry.SetString(RegistryRoot::CurrentUser, RunSubKey("Run"), "Current", "");
    for (const char* hive : {"S-1-5-21-7", "S-1-5-21-7_Classes", ".DEFAULT"})
        registry.SetString(RegistryRoot::Users, hive + ("\\" + RunSubKey("Run")), "V", "");
    const MemoryFileSystem fs;
    const FakeCodePage codePage;
    const CommandLineChecker checker(fs, codePage);
    const ScanResult result =
        RunKeyScanner(registry, checker, RcTexts())
            .Scan(ScopeSections(registry, ScanScope::Run, true, LowerCaser(codePage)));
    ASSERT_EQ(result.findings.size(), 1u);
    EXPECT_EQ(KeyFullPath(result.findings[0].rootName, result.findings[0].subKey),
              "HKEY_USERS\\S-1-5-21-7\\" + RunSubKey("Run"));
}
