// The scan read back through its troubleshooting log and its findings.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <functional>
#include <map>

#include "console_report.h"
#include "fakes.h"
#include "repair_applier.h"
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
    registry.Set(kCu, RunSubKey("Policies\\Explorer\\Run"), {"Exp", kRegExpandSz, std::string("%PF%\\A\\a.exe /x") + '\0'});
    fs.variables["%PF%"] = "C:\\Program Files";

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
        {"", a + " /x", "\"" + a + "\" /x", run, kCu}, {"Nuls", " x", "x", once, kCu},
        {"Next", " y", "y", once, kCu}, {longest, " x", "x", once, kCu}, {"Gone", b, "", run, kLm},
        {Ansi("Åter"), " x", "x", RunSubKey("RunOnce\\Setup"), kLm}, {"Old", b, "", run, kLm, RegistryView::Wow64},
        {"", "", "", once, kLm, RegistryView::Wow64},
        {"Exp", "%PF%\\A\\a.exe /x", "\"%PF%\\A\\a.exe\" /x", policy, kCu, RegistryView::Native, kRegExpandSz}};
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
            .Scan(ScopeSections(registry, ScanScope::Run, {true, "S-1-5-18"}, LowerCaser(codePage)));
    ASSERT_EQ(result.findings.size(), 1u);
    EXPECT_EQ(KeyFullPath(result.findings[0].root, result.findings[0].subKey),
              "HKEY_USERS\\S-1-5-21-7\\" + RunSubKey("Run"));
}

// A key that exists but was not read whole is named in the JSON lines and turns a clean run's
// exit code into 3; one that does not exist is no such key.
TEST(ScanResult, WhatCouldNotBeRead)
{
    const std::string run = RunSubKey("Run"), uninstall = RunSubKey("Uninstall");
    const RegistryRoot users = RegistryRoot::Users;
    const auto deny = [](RegistryRoot root, std::string key) {
        return [=](MemoryRegistry& r) { r.Deny(root, key, RegAccess::Read); };
    };
    const auto endWalks = [](RegistryRoot root, std::string key) {
        return [=](MemoryRegistry& r) { r.EndWalks(root, key, 1012); };
    };
    // errors: the JSON objects of the keys not read, as "path status".
    const struct { const char* what; std::function<void(MemoryRegistry&)> fault; int exit;
                   std::vector<std::string> errors; } cases[] = {
        {"all read", [](MemoryRegistry&) {}, 0, {}},
        {"Run denied", deny(kLm, run), 3, {"HKEY_LOCAL_MACHINE\\" + run + " ERROR_ACCESS_DENIED"}},
        {"values end in an error", endWalks(kLm, run), 3, {"HKEY_LOCAL_MACHINE\\" + run + " ERROR_CANTREAD"}},
        {"HKEY_USERS denied", deny(users, ""), 3, {"HKEY_USERS ERROR_ACCESS_DENIED"}},
        {"HKEY_USERS list ends in an error", endWalks(users, ""), 3, {"HKEY_USERS ERROR_CANTREAD"}},
        {"uninstall list ends in an error", endWalks(kLm, uninstall), 3,
         {"HKEY_LOCAL_MACHINE\\" + uninstall + " ERROR_CANTREAD"}},
        // Opened by its stand-in, the wrong key would be judged and its faulty value found.
        {"name outside the code page", [](MemoryRegistry& r) { r.SetString(kLm, RunSubKey("Uninstall\\Caf?"),
                                                                           "UninstallString", "C:\\A B\\u.exe"); },
         3, {"HKEY_LOCAL_MACHINE\\" + uninstall + "\\Caf? ERROR_NO_UNICODE_TRANSLATION"}},
        {"a fault as well", [&](MemoryRegistry& r) { r.Deny(kLm, run, RegAccess::Read), r.SetString(users, "S-1-5-21-7\\" + run, "v", ""); },
         1, {"HKEY_LOCAL_MACHINE\\" + run + " ERROR_ACCESS_DENIED"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryRegistry registry;
        registry.SetString(users, "S-1-5-21-7\\" + RunSubKey("RunOnce"), "ok", "C:\\ok.exe");
        registry.SetString(kLm, RunSubKey("Uninstall\\App"), "UninstallString", "C:\\app.exe");
        registry.SetString(kLm, run, "ok", "C:\\ok.exe");
        c.fault(registry);
        const MemoryFileSystem fs;
        const FakeCodePage codePage;
        const CommandLineChecker checker(fs, codePage);
        const ScanResult scan = RunKeyScanner(registry, checker, RcTexts())
                                    .Scan(ScopeSections(registry, ScanScope::All, {true, ""}, LowerCaser(codePage)));
        EXPECT_EQ(ExitCode(scan, nullptr), c.exit);
        std::vector<std::string> errors;
        for (const std::string& line : Lines(JsonLines(scan, nullptr, Tally(scan, nullptr, ""), codePage), "\n")) {
            if (line.find("\"error\"") == std::string::npos)
                continue;
            const nlohmann::json object = nlohmann::json::parse(line);
            errors.push_back(object["key"].get<std::string>() + " " + object["error"].get<std::string>());
        }
        EXPECT_EQ(errors, c.errors);
        EXPECT_EQ(Tally(scan, nullptr, "").unreadKeys, static_cast<int>(c.errors.size()));
    }
}

// A key whose path holds a control character is looked at but never judged, so that no backup
// file has to name it.
TEST(RunKeyScanner, KeyPathWithControlCharacters)
{
    const std::string program = "C:\\Program Files\\A\\a.exe";
    MemoryFileSystem fs;
    fs.files[MemoryFileSystem::Fold(program)];
    const FakeCodePage codePage;
    const CommandLineChecker checker(fs, codePage);
    for (const char c : {'\r', '\n', '\t', '\x01', '\x1f'}) {
        MemoryRegistry registry;
        registry.SetString(kLm, RunSubKey("Uninstall\\Evil") + c + "x", "UninstallString", program + " /S");
        const ScanResult scan = RunKeyScanner(registry, checker, RcTexts())
                                    .Scan(ScopeSections(registry, ScanScope::Uninstall, {}, LowerCaser(codePage)));
        EXPECT_TRUE(scan.findings.empty()) << int(c);
        const std::vector<std::string> lines = Lines(JsonLines(scan, nullptr, Tally(scan, nullptr, ""), codePage), "\n");
        EXPECT_EQ(nlohmann::json::parse(lines.at(0))["reason"], "key-path-control-character") << int(c);
        EXPECT_NE(scan.logText.find(RcTexts().Load(IDS_LOG_KEY_PATH_CONTROL)), std::string::npos) << int(c);
    }
}

// Each log-on launch point by its rule: Shell and StubPath quoted as program paths, each user's
// Shell too; Userinit reported for a person and never changed, even by a repair of everything.
TEST(ScopeSections, LogonLaunchPoints)
{
    const std::string tool = "C:\\Program Files\\A\\a.exe", winlogon = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
    const std::string setup = "Software\\Microsoft\\Active Setup\\Installed Components\\", userinit = "C:\\W\\userinit.exe," + tool + ",";
    MemoryFileSystem fs;
    fs.files[MemoryFileSystem::Fold(tool)];
    MemoryRegistry registry;
    registry.SetString(kLm, winlogon, "Shell", tool + " /s");
    registry.SetString(kLm, winlogon, "Userinit", userinit);
    registry.SetString(kLm, winlogon, "System", tool);  // no launch point of ours
    registry.SetString(RegistryRoot::Users, "S-1-5-21-7\\" + winlogon, "Shell", tool);
    registry.SetString(kLm, setup + "{1}", "StubPath", tool + " /i");
    registry.SetString(kLm, setup + "{2}", "StubPath", "C:\\Gone Dir\\x.exe", RegistryView::Wow64);
    const FakeCodePage codePage;
    const CommandLineChecker checker(fs, codePage);
    const ScanResult scan = RunKeyScanner(registry, checker, RcTexts())
                                .Scan(ScopeSections(registry, ScanScope::Logon, {true, ""}, LowerCaser(codePage)));
    const RepairResult repair =
        RepairApplier(registry, fs, codePage, RcTexts()).Repair(scan.findings, {std::vector<bool>(9, true), "C:\\b.reg"});
    std::map<std::string, std::string> seen;  // key\name: verdict, proposal, what the repair did
    for (const std::string& line : Lines(JsonLines(scan, &repair, Tally(scan, &repair, ""), codePage), "\n")) {
        if (line.empty())
            continue;
        const nlohmann::json o = nlohmann::json::parse(line);
        if (o.contains("summary"))
            seen["summary"] = std::to_string(o["faulty"].get<int>()) + " " + std::to_string(o["change_by_hand"].get<int>());
        else
            seen[o["key"].get<std::string>() + "\\" + o["name"].get<std::string>()] =
                o["verdict"].get<std::string>() + " " + o["proposed"].dump() + " " + o["repair"].get<std::string>();
    }
    const std::string lm = "HKEY_LOCAL_MACHINE\\", quoted = nlohmann::json("\"" + tool + "\"").dump();
    const std::map<std::string, std::string> expected = {
        {lm + winlogon + "\\Shell", "change " + quoted.substr(0, quoted.size() - 1) + " /s\" changed"},
        {lm + winlogon + "\\Userinit", "change-by-hand " + nlohmann::json("C:\\W\\userinit.exe,\"" + tool + "\",").dump() + " untouched"},
        {"HKEY_USERS\\S-1-5-21-7\\" + winlogon + "\\Shell", "change " + quoted + " changed"},
        {lm + setup + "{1}\\StubPath", "change " + quoted.substr(0, quoted.size() - 1) + " /i\" changed"},
        {lm + "Software\\WOW6432Node\\Microsoft\\Active Setup\\Installed Components\\{2}\\StubPath", "program-missing null untouched"},
        {"summary", "4 1"}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(registry.Find(kLm, winlogon, "Userinit")->data, userinit + '\0');
    EXPECT_EQ(ExitCode(scan, &repair), 1);
}
