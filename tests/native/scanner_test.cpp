// The scan read back through its troubleshooting log and its findings.
#include <gtest/gtest.h>

#include "fakes.h"
#include "resource.h"
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

static ScanResult ScanOf(MemoryRegistry& registry, const MemoryFileSystem& fs, const Texts& texts,
                         const std::vector<ScanSection>& sections = RunSections())
{
    const FakeCodePage codePage;
    const CommandLineChecker checker(fs, codePage);
    return RunKeyScanner(registry, checker, codePage, texts).Scan(sections);
}

TEST(RunKeyScanner, GoldenLog)
{
    const std::string a = "C:\\Program Files\\A\\a.exe", b = "C:\\Program Files\\B\\b.exe";
    MemoryFileSystem fs;
    fs.files[MemoryFileSystem::Fold(a)];
    MemoryRegistry registry;
    registry.SetString(kCu, RunSubKey("Run"), "", a + " /x");
    registry.SetString(kCu, RunSubKey("Run"), "%d", "%s %d 100%");
    registry.Set(kLm, RunSubKey("Run"), {"Bin", kRegBinary, "\x01\x02", {}});
    registry.SetString(kLm, RunSubKey("Run"), "Gone", b);
    registry.SetString(kLm, RunSubKey("RunOnce"), "Hidden", " x");
    registry.Deny(kLm, RunSubKey("RunOnce"), RegAccess::Read);
    registry.SetString(kLm, RunSubKey("RunOnce\\Setup"), Ansi("Åter"), " x");
    registry.SetString(kLm, RunSubKey("Run"), "Old", b, RegistryView::Wow64);
    registry.Set(kLm, RunSubKey("RunOnce"), {}, RegistryView::Wow64);

    const std::string cu = "Sökväg: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\";
    const std::string lm = "Sökväg: HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\";
    const std::string lm32 = "Sökväg: HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\";
    const std::string missing = "Denna nyckel finns inte eller så har du inte rättigheter att öppna den.";
    const std::string faulty = "\tFELAKTIGT VÄRDE! Rekommenderad ändring: ";
    std::vector<std::string> golden = {
        cu + "Run", "", "\tVärde: ", "\tData: " + a + " /x", faulty + "\"" + a + "\" /x",
        "", "\tVärde: %d", "\tData: %s %d 100%", "\tOK", "", "",
        cu + "RunOnce", missing, "", "",
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

    const ScanResult result = ScanOf(registry, fs, RcTexts());
    EXPECT_EQ(Lines(result.logText), golden);
    const std::string run = RunSubKey("Run"), runOnce = RunSubKey("RunOnce");
    EXPECT_EQ(result.findings, (FindingList{{"", a + " /x", "\"" + a + "\" /x", run, "HKEY_CURRENT_USER"},
                                           {"Gone", b, "", run, "HKEY_LOCAL_MACHINE"},
                                           {Ansi("Åter"), " x", "x", RunSubKey("RunOnce\\Setup"), "HKEY_LOCAL_MACHINE"},
                                           {"Old", b, "", run, "HKEY_LOCAL_MACHINE", RegistryView::Wow64},
                                           {"", "", "", runOnce, "HKEY_LOCAL_MACHINE", RegistryView::Wow64}}));
}

static MemoryValue Sz(const std::string& name, const std::string& data) { return {name, kRegSz, data + '\0'}; }

// Each value below would be trimmed if it were judged at all.
TEST(RunKeyScanner, LeavesAloneWhatItCannotJudge)
{
    const RcTexts texts;
    const auto lossy = [](MemoryValue v, bool name) { (name ? v.nameInCodePage : v.dataInCodePage) = false; return v; };
    MemoryValue unread = Sz("V", " x");
    unread.dataRead = false;
    // line: what the log must hold; judged: the findings' names.
    const struct { const char* what; std::vector<MemoryValue> values; std::string line;
                   std::vector<std::string> judged; } cases[] = {
        {"unreadable", {unread}, Ansi("\tVärde: V\r\n") + texts.Load(IDS_LOG_UNREADABLE), {}},
        {"name not in the code page", {lossy(Sz("V?", " x"), true)},
         Ansi("\tVärde: V?\r\n") + texts.Load(IDS_LOG_NAME_NOT_IN_CODEPAGE), {}},
        {"data not in the code page", {lossy(Sz("V", " x?"), false)},
         Ansi("\tData:  x?\r\n") + texts.Load(IDS_LOG_NOT_IN_CODEPAGE), {}},
        {"more than one string", {Sz("V", std::string(" x\0 y", 5))},
         Ansi("\tData:  x\r\n") + texts.Load(IDS_LOG_MORE_THAN_ONE_STRING), {}},
        {"terminators are not strings", {Sz("V", std::string(" x\0\0", 4))}, "\tData:  x\r\n", {"V"}},
        {"name too long", {Sz("Ok", "x"), Sz(std::string(4096, 'n'), " x"), Sz("Next", " y")},
         Ansi("\tOK\r\n\r\n\tVärde nummer 1 har ett för långt namn"), {"Next"}},
        {"longest name", {Sz(std::string(4095, 'n'), " x")}, "\tData:  x", {std::string(4095, 'n')}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryRegistry registry;
        for (const MemoryValue& value : c.values)
            registry.Set(kCu, RunSubKey("Run"), value);
        const ScanResult result = ScanOf(registry, MemoryFileSystem(), texts);
        EXPECT_NE(result.logText.find(c.line), std::string::npos) << result.logText;
        std::vector<std::string> judged;
        for (const Finding& finding : result.findings)
            judged.push_back(finding.valueName);
        EXPECT_EQ(judged, c.judged);
    }
}

// Every loaded user hive by its SID, in the place of HKEY_CURRENT_USER (which is one of them),
// and none of the _Classes hives, which hold no start-up keys.
TEST(ScopeSections, EveryLoadedUser)
{
    MemoryRegistry registry;
    registry.SetString(kCu, RunSubKey("Run"), "Current", "");
    for (const char* hive : {"S-1-5-21-7", "S-1-5-21-7_Classes", ".DEFAULT"})
        registry.SetString(RegistryRoot::Users, hive + ("\\" + RunSubKey("Run")), "V", "");
    const ScanResult result = ScanOf(registry, MemoryFileSystem(), RcTexts(), ScopeSections(registry, ScanScope::Run, true));
    ASSERT_EQ(result.findings.size(), 1u);
    EXPECT_EQ(KeyFullPath(result.findings[0].rootName, result.findings[0].subKey),
              "HKEY_USERS\\S-1-5-21-7\\" + RunSubKey("Run"));
}
