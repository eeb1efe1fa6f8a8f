// stlagc's command line as technicians and scripts mistype it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <iterator>
#include <sstream>

#include "console_options.h"
#include "console_report.h"
#include "fakes.h"
#include "resource.h"

using namespace stlag;

// Refused with this text, which shows this argument; the help switch in any spelling; /undo
// with /json alone.
TEST(ReadArguments, Refusals)
{
    using Action = ConsoleOptions::Action;
    const struct { std::vector<std::string> arguments; unsigned text; std::string shown; } refused[] = {
        {{"/?", "/json"}, IDS_CONSOLE_BAD_ARGUMENT, "/?"},
        {{"/scope:disk"}, IDS_CONSOLE_BAD_SCOPE, "/scope:disk"},
        {{"/scope"}, IDS_CONSOLE_BAD_ARGUMENT, "/scope"},
        {{"/json", "-JSON"}, IDS_CONSOLE_TWICE, "-JSON"},
        {{"/repair", "/allusers"}, IDS_CONSOLE_NO_BACKUP_FILE, ""},
        {{"/repair", "b.reg", "b2.reg"}, IDS_CONSOLE_BAD_ARGUMENT, "b2.reg"},
        {{"/undo", "-json"}, IDS_CONSOLE_NO_UNDO_FILE, ""},
        {{"/undo", "b.reg", "/repair", "c.reg"}, IDS_CONSOLE_UNDO_ALONE, "/repair"},
        {{"/allusers", "/undo", "b.reg"}, IDS_CONSOLE_UNDO_ALONE, "/allusers"},
    };
    const FakeCodePage codePage;
    for (const auto& c : refused) {
        const ConsoleOptions o = ReadArguments(c.arguments, LowerCaser(codePage));
        EXPECT_TRUE(o.action == Action::Refuse && o.messageId == c.text && o.argument == c.shown) << c.shown;
    }
    const ConsoleOptions all = ReadArguments({"-JSON", "/AllUsers", "/scope:Uninstall"}, LowerCaser(codePage));
    EXPECT_TRUE(all.action == Action::Scan && all.json && all.allUsers && all.scope == ScanScope::Uninstall);
    for (const char* help : {"/H", "-h", "-?", "--HELP"})
        EXPECT_TRUE(ReadArguments({help}, LowerCaser(codePage)).action == Action::Usage) << help;
    const ConsoleOptions undo = ReadArguments({"/JSON", "-Undo", "C:\\b\\"}, LowerCaser(codePage));
    EXPECT_TRUE(undo.action == Action::Undo && undo.json && undo.backupPath == "C:\\b\\");
}

// JSON lines are UTF-8 in either code page and read back to the same text, quotes and all;
// every repair outcome has a word of its own.
TEST(JsonLines, Utf8AndOutcomeWords)
{
    using O = RepairOutcome;
    const std::pair<O, std::string> outcomes[] = {{O::Repaired, "changed"}, {O::Repaired, "deleted"}, {O::Failed, "failed"},
                                                  {O::ChangedSinceScan, "changed-since-scan"}, {O::NotTried, "not-tried"}};
    for (const bool cp932 : {false, true}) {
        const std::string ansi = cp932 ? "\x95\x5C \"q\"" : Ansi("å \"q\""), utf8 = cp932 ? "表 \"q\"" : "å \"q\"";
        ScanResult scan;
        scan.keys = {{"HKEY_CURRENT_USER\\" + ansi}};
        RepairResult repair;
        repair.backupStopped = cp932;  // the summary gives the rest left its reason
        LookedAt value;
        value.name = value.data = ansi, value.type = kRegSz, value.verdict = Verdict::Faulty;
        Finding finding;
        finding.valueName = finding.oldData = ansi;
        for (const auto& o : outcomes) {
            value.finding = static_cast<int>(scan.findings.size());
            scan.values.push_back(value);
            finding.newData = o.second == "deleted" ? "" : ansi + "!";
            scan.findings.push_back(finding);
            repair.outcomes.push_back(o.first);
        }
        // Last, a value whose name and data the code page lacks: JSON carries the registry's own.
        value.verdict = Verdict::Ok, value.finding = -1, value.name = value.data = "?";
        value.trueName = value.trueData = cp932 ? u"表 \"q\"" : u"å \"q\"";
        scan.values.push_back(value);
        std::istringstream lines(JsonLines(scan, &repair, Tally(scan, &repair, ""), FakeCodePage(cp932)));
        std::string line;
        for (std::size_t i = 0; i <= std::size(outcomes) && std::getline(lines, line); ++i) {
            const nlohmann::json o = nlohmann::json::parse(line);  // throws on bad UTF-8
            const std::string word = i < std::size(outcomes) ? outcomes[i].second : "untouched";
            EXPECT_TRUE(o["key"] == "HKEY_CURRENT_USER\\" + utf8 && o["name"] == utf8 && o["data"] == utf8) << o.dump();
            EXPECT_EQ(o["proposed"], word == "deleted" || word == "untouched" ? nlohmann::json() : nlohmann::json(utf8 + "!"));
            EXPECT_EQ(o["repair"], word);
        }
        EXPECT_TRUE(std::getline(lines, line) && nlohmann::json::parse(line)["backup_stopped"] == cp932) << line;
    }
}
