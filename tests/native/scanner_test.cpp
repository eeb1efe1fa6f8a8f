// The scan read back through its troubleshooting log and its findings.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "console_report.h"
#include "fakes.h"
#include "resource.h"
#include "run_key_scanner.h"
#include "scan_scope.h"

using namespace stlag;

static const RegistryRoot kCu = RegistryRoot::CurrentUser, kLm = RegistryRoot::LocalMachine;

static std::vector<std::string> Lines(std::string text, const std::string& lineEnd = "\r\n")
{
    std::vector<std::string> lines;
    for (std::size_t end; (end = text.find(lineEnd)) != std::string::npos; text.erase(0, end + lineEnd.size()))
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
    registry.SetString(kCu, RunSubKey("Run"), {"Twin\0x", 6}, " x");  // never its namesake's stand-in
    registry.SetString(kCu, RunSubKey("Run"), "Twin", " y");
    // Each of these would be trimmed if it were judged at all. The flags after the data: name and data in
    // the code page, data read.
    for (const RegValue& value : std::vector<RegValue>{
             {"Unread", kRegSz, " x", true, true, false}, {"Name?", kRegSz, " x", false},
             {"Data", kRegSz, " x?", true, false}, {"Two", kRegSz, {" x\0 y", 5}}, {"Nuls", kRegSz, {" x\0\0", 4}},
             {tooLong, kRegSz, " x"}, {"Next", kRegSz, " y\r\n\tOK"}, {longest, kRegSz, " x"}})
        registry.Set(kCu, RunSubKey("RunOnce"), value);
    registry.Set(kLm, RunSubKey("Run"), {"Bin", kRegBinary, "\x01\x02", false});  // no string: judged no further
    registry.SetString(kLm, RunSubKey("Run"), "Gone", b);
    registry.SetString(kLm, RunSubKey("RunOnce"), "Hidden", " x");
    registry.Deny(kLm, RunSubKey("RunOnce"), RegAccess::Read);
    registry.SetString(kLm, RunSubKey("RunOnce\\Setup"), Ansi("Åter"), " x");
    registry.SetString(kLm, RunSubKey("Run"), "Old", b, RegistryView::Wow64);
    registry.Set(kLm, RunSubKey("RunOnce"), {"", kRegSz, ""}, RegistryView::Wow64);
    registry.Set(kCu, RunSubKey("Policies\\Explorer\\Run"), {"Exp", kRegExpandSz, std::string("%PF%\\A\\a.exe /x") + '\0'});
    fs.variables["pf"] = "C:\\Program Files";

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
        "", "\tVärde: %d", "\tData: %s %% 100%", "\tOK",
        "", "\tVärde: Twin\\x00x", "\tData:  x", "\tVärdets namn innehåller NUL, radbrytningar eller andra styrtecken, som "
        "en backupfil inte kan återge och som kan leda lagningen till ett annat värde." + notJudged,
        "", "\tVärde: Twin", "\tData:  y", faulty + "y", "", "",
        cu + "RunOnce", "", "\tVärde: Unread", "\tVärdet kunde inte läsas." + notJudged,
        "", "\tVärde: Name?", "\tVärdets namn" + notInCodePage + notJudged,
        "", "\tVärde: Data", "\tData:  x?", "\tVärdet" + notInCodePage + notJudged,
        "", "\tVärde: Two", "\tData:  x", "\tVärdet innehåller mer än en sträng." + notJudged,
        "", "\tVärde: Nuls", "\tData:  x", faulty + "x",  // terminators are no further strings
        "", "\tVärde nummer 5 har ett för långt namn (över 4095 tecken)." + notJudged,
        "", "\tVärde: Next", "\tData:  y\\x0D\\x0A\\x09OK", faulty + "y\\x0D\\x0A\\x09OK",  // no lines of its own
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
        lm32 + "RunOnce\\Setup", missing, "", "",
        cu + "Policies\\Explorer\\Run", "", "\tVärde: Exp", "\tData: %PF%\\A\\a.exe /x", faulty + "\"%PF%\\A\\a.exe\" /x", "", "",
        lm + "Policies\\Explorer\\Run", missing, ""};
    for (std::string& line : golden)
        line = Ansi(line);

    const FakeCodePage codePage;
    const CommandLineChecker checker(fs, codePage);
    const ScanResult result = RunKeyScanner(registry, checker, RcTexts()).Scan(RunSections());
    EXPECT_EQ(Lines(result.logText), golden);
    const std::string run = RunSubKey("Run"), once = RunSubKey("RunOnce"), policy = RunSubKey("Policies\\Explorer\\Run");
    const FindingList findings = {
        {"", a + " /x", "\"" + a + "\" /x", run, kCu}, {"Twin", " y", "y", run, kCu}, {"Nuls", " x", "x", once, kCu},
        {"Next", " y\r\n\tOK", "y\r\n\tOK", once, kCu}, {longest, " x", "x", once, kCu}, {"Gone", b, "", run, kLm},
        {Ansi("Åter"), " x", "x", RunSubKey("RunOnce\\Setup"), kLm}, {"Old", b, "", run, kLm, RegistryView::Wow64},
        {"", "", "", once, kLm, RegistryView::Wow64},
        {"Exp", "%PF%\\A\\a.exe /x", "\"%PF%\\A\\a.exe\" /x", policy, kCu, RegistryView::Native, kRegExpandSz}};
    EXPECT_EQ(result.findings, findings);
}

// The scan of a scope over every loaded user, and its JSON lines read back.
static ScanResult ScopeScan(MemoryRegistry& registry, const MemoryFileSystem& fs, ScanScope scope)
{
    const FakeCodePage codePage;
    const CommandLineChecker checker(fs, codePage);
    return RunKeyScanner(registry, checker, RcTexts()).Scan(ScopeSections(registry, scope, {true, ""}, LowerCaser(codePage)));
}

static std::vector<nlohmann::json> JsonOf(const ScanResult& scan)
{
    std::vector<nlohmann::json> objects;
    for (const std::string& line : Lines(JsonLines(scan, nullptr, Tally(scan, nullptr, ""), FakeCodePage()), "\n"))
        if (!line.empty())
            objects.push_back(nlohmann::json::parse(line));
    return objects;
}

// A key or a value that exists but was not read whole is named in the JSON lines and turns
// a clean run's exit code into 3; a key that does not exist is no such key. Every loaded user
// hive is read by its SID in the place of HKEY_CURRENT_USER (which is one of them), and none of
// the _Classes hives, which hold no start-up keys, nor .DEFAULT, the system account's again:
// their faulty values would make a clean run's exit code 1, as a value to change by hand does.
TEST(ScanResult, WhatCouldNotBeRead)
{
    const std::string run = RunSubKey("Run"), lm = "HKEY_LOCAL_MACHINE\\", program = "C:\\A B\\u.exe";
    const std::string nul = RunSubKey("Uninstall\\Nul") + std::string("\0Tail", 5);
    const RegistryRoot users = RegistryRoot::Users;
    // Done to the row's key: a faulty UninstallString in it, a value whose name or data cannot be read,
    // a Userinit to change by hand.
    enum Fault { None, Deny, EndWalks, Value, LongName, UnreadData, ByHand };
    // errors: the JSON objects of what was not read, as "path[\\name|#index] status".
    const struct { const char* what; Fault fault; RegistryRoot root; std::string key; int exit;
                   std::vector<std::string> errors; } cases[] = {
        {"all read", None, kLm, run, 0, {}},
        {"Run denied", Deny, kLm, run, 3, {lm + run + " ERROR_ACCESS_DENIED"}},
        {"values end in an error", EndWalks, kLm, run, 3, {lm + run + " ERROR_CANTREAD"}},
        {"a name too long to read", LongName, kLm, run, 3, {lm + run + "#1 ERROR_MORE_DATA"}},
        {"data that cannot be read", UnreadData, kLm, run, 3, {lm + run + "\\Unread ERROR_MORE_DATA"}},
        // HKEY_CURRENT_USER stands in for users it could not list at all, and its fault outweighs.
        {"HKEY_USERS denied", Deny, users, "", 1, {"HKEY_USERS ERROR_ACCESS_DENIED"}},
        {"HKEY_USERS list ends in an error", EndWalks, users, "", 3, {"HKEY_USERS ERROR_CANTREAD"}},
        // Opened by its stand-in or by its cut name, the wrong key would be judged.
        {"name outside the code page", Value, kLm, RunSubKey("Uninstall\\Caf?"), 3,
         {lm + RunSubKey("Uninstall\\Caf\xCE\xA9") + " ERROR_NO_UNICODE_TRANSLATION"}},  // named by its own name
        {"a name with a NUL", Value, kLm, nul, 3, {lm + nul + " ERROR_INVALID_NAME"}},
        {"a key path no backup can name", Value, kLm, RunSubKey("Uninstall\\Line\r\nBreak"), 0, {}},
        {"Userinit to change by hand", ByHand, kLm, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryRegistry registry;
        registry.SetString(users, "S-1-5-21-7\\" + RunSubKey("RunOnce"), "ok", "C:\\ok.exe");
        for (const std::string hive : {"S-1-5-21-7_Classes\\", ".DEFAULT\\", ""})
            registry.SetString(hive.empty() ? kCu : users, hive + run, "faulty", "");
        registry.SetString(kLm, RunSubKey("Uninstall\\App"), "UninstallString", "C:\\app.exe");
        registry.SetString(kLm, run, "ok", "C:\\ok.exe");
        if (c.fault == Deny)
            registry.Deny(c.root, c.key, RegAccess::Read);
        if (c.fault == EndWalks)
            registry.EndWalks(c.root, c.key, 1012);
        if (c.fault == Value || c.fault == ByHand)
            registry.SetString(c.root, c.key, c.fault == Value ? "UninstallString" : "Userinit", program + ",");
        if (c.fault == LongName || c.fault == UnreadData)
            registry.Set(c.root, c.key, {c.fault == LongName ? std::string(4096, 'n') : "Unread", kRegSz, " x", true, true, false});
        MemoryFileSystem fs;
        fs.files[MemoryFileSystem::Fold(program)];
        const ScanResult scan = ScopeScan(registry, fs, ScanScope::All);
        EXPECT_EQ(ExitCode(scan, nullptr), c.exit);
        std::vector<std::string> errors;
        for (const nlohmann::json& o : JsonOf(scan))
            if (o.contains("error"))
                errors.push_back(o["key"].get<std::string>() + (o.contains("name") ? "\\" + o["name"].get<std::string>() : "") +
                                 (o.contains("index") ? "#" + o["index"].dump() : "") + " " + o["error"].get<std::string>());
        EXPECT_EQ(errors, c.errors);
        const RunTally tally = Tally(scan, nullptr, "");
        EXPECT_EQ(tally.unreadKeys + tally.unreadValues, static_cast<int>(c.errors.size()));
    }
}
