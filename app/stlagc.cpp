// stlagc: the console companion. It runs the wizard's scan, or a wider one (/scope,
// /allusers), and writes the troubleshooting log or JSON lines to standard output; with
// /repair FILE it repairs every finding as the wizard would, backing up to FILE. A summary
// line always closes the output of a scan.
#include <optional>
#include <string>
#include <vector>

#include "backup_home.h"
#include "console_options.h"
#include "console_output.h"
#include "console_report.h"
#include "live_engine.h"
#include "resource.h"
#include "text_format.h"

namespace {

using stlag::StdStream;

// A bad argument shares its code with a refused repair.
enum ExitCode { kNothingFaulty = 0, kBadArguments = 2 };

// The log, or the outcome text of a repair that was not refused.
std::string PlainText(const stlag::ScanResult& scan, const stlag::RepairResult* repair)
{
    if (repair == nullptr)
        return scan.logText;
    return repair->refusal == stlag::RepairRefusal::None ? repair->outcomeText + "\r\n" : std::string();
}

void Report(stlag::LiveEngine& engine, const stlag::ConsoleOptions& options, const stlag::ScanResult& scan,
            const stlag::RepairResult* repair)
{
    const stlag::RunTally tally = stlag::Tally(scan, repair, options.backupPath);
    if (options.json) {
        stlag::WriteUtf8(StdStream::Out, stlag::JsonLines(scan, repair, tally, engine.codePage()));
        return;
    }
    std::string text = PlainText(scan, repair);
    if (!text.empty())
        text += "\r\n";
    stlag::WriteAnsi(StdStream::Out, text + stlag::SummaryLine(tally, engine.texts(), engine.codePage()) + "\r\n");
}

// Every finding ticked, as the wizard starts out.
int Run(stlag::LiveEngine& engine, const stlag::ConsoleOptions& options)
{
    const stlag::ScanResult scan = engine.Scan(engine.Sections(options.scope, options.allUsers));
    if (options.action != stlag::ConsoleOptions::Action::Repair) {
        Report(engine, options, scan, nullptr);
        return stlag::ExitCode(scan, nullptr);
    }
    const stlag::RepairRequest request{std::vector<bool>(scan.findings.size(), true), options.backupPath};
    const stlag::RepairResult result = engine.Repair(scan.findings, request);
    const bool refused = result.refusal != stlag::RepairRefusal::None;
    if (refused)
        stlag::WriteAnsi(StdStream::Error, engine.texts().Load(result.warningTextId) + "\r\n");
    Report(engine, options, scan, &result);
    return stlag::ExitCode(scan, &result);
}

// /repair FOLDER\ takes a file named after the time; a folder that others than administrators
// could change is refused before anything is scanned.
std::optional<stlag::ConsoleOptions> WithBackupFile(const stlag::LiveEngine& engine, stlag::ConsoleOptions options)
{
    if (options.action != stlag::ConsoleOptions::Action::Repair)
        return options;
    const stlag::BackupChoice choice = stlag::ChooseBackupFile(options.backupPath, engine.codePage(), "stlagc");
    if (choice.refusalId != 0) {
        const stlag::Texts& texts = engine.texts();
        const std::string why = stlag::FormatText(texts.Load(choice.refusalId), {choice.above});
        stlag::WriteAnsi(StdStream::Error, stlag::FormatText(texts.Load(IDS_CONSOLE_UNSAFE_FOLDER), {choice.folder, why}));
        return std::nullopt;
    }
    options.backupPath = choice.path;
    return options;
}

}  // namespace

int main(int argc, char** argv)
{
    stlag::LiveEngine engine;
    const stlag::Texts& texts = engine.texts();
    const stlag::ConsoleOptions options = stlag::ReadArguments(std::vector<std::string>(argv + 1, argv + argc),
                                                               engine.lower());
    switch (options.action) {
    case stlag::ConsoleOptions::Action::Usage:
        stlag::WriteAnsi(StdStream::Out, stlag::FormatText(texts.Load(IDS_CONSOLE_USAGE), {STLAG_VERSION}));
        return kNothingFaulty;
    case stlag::ConsoleOptions::Action::Refuse:
        stlag::WriteAnsi(StdStream::Error, stlag::FormatText(texts.Load(options.messageId), {options.argument}));
        return kBadArguments;
    default: {
        const std::optional<stlag::ConsoleOptions> settled = WithBackupFile(engine, options);
        return settled ? Run(engine, *settled) : kBadArguments;
    }
    }
}
