// stlagc: the console companion. It runs the wizard's scan, or a wider one (/scope,
// /allusers), and writes the troubleshooting log or JSON lines to standard output; with
// /repair FILE it repairs every finding as the wizard would, backing up to FILE. A summary
// line always closes the output of a scan. /undo FILE takes a repair back from its backup.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
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
#include "undo_report.h"
#include "undo_source.h"

namespace {

using stlag::StdStream;

// A bad argument shares its code with a refused repair.
enum ExitCode { kNothingFaulty = 0, kBadArguments = 2 };

// The log, or the outcome text of a repair that was not refused.
std::wstring PlainText(const stlag::ScanResult& scan, const stlag::RepairResult* repair)
{
    if (repair == nullptr)
        return stlag::AnsiToWide(scan.logText);
    return repair->refusal == stlag::RepairRefusal::None ? stlag::WideText(repair->outcome) + L"\r\n" : std::wstring();
}

void Report(stlag::LiveEngine& engine, const stlag::ConsoleOptions& options, const stlag::ScanResult& scan,
            const stlag::RepairResult* repair)
{
    const stlag::RunTally tally = stlag::Tally(scan, repair, options.backupPath);
    if (options.json) {
        stlag::WriteUtf8(StdStream::Out, stlag::JsonLines(scan, repair, tally, engine.codePage()));
        return;
    }
    std::wstring text = PlainText(scan, repair);
    if (!text.empty())
        text += L"\r\n";
    stlag::WriteText(StdStream::Out, text + stlag::WideText(stlag::SummaryLine(tally, engine.texts())) + L"\r\n");
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
    const stlag::BackupChoice choice = stlag::ChooseBackupFile(options.backupPath, "stlagc");
    if (choice.refusalId != 0) {
        const stlag::Texts& texts = engine.texts();
        const std::string why = stlag::FormatText(texts.Load(choice.refusalId), {stlag::kPathMarker});
        const std::string message = stlag::FormatText(texts.Load(IDS_CONSOLE_UNSAFE_FOLDER), {stlag::kPathMarker, why});
        stlag::WriteText(StdStream::Error, stlag::WideText(message, {choice.folder, choice.above}));
        return std::nullopt;
    }
    options.backupPath = choice.path;
    return options;
}

// A file or folder refused, its place and the folder above apart, as paths in any script.
void ReportRefusedSource(const stlag::Texts& texts, const stlag::UndoSource& source)
{
    const std::string why = stlag::FormatText(texts.Load(source.refusalId), {stlag::kPathMarker});
    const std::string message = stlag::FormatText(texts.Load(IDS_CONSOLE_UNSAFE_UNDO), {stlag::kPathMarker, why});
    stlag::WriteText(StdStream::Error, stlag::WideText(message, {source.place, source.above}));
}

// The backup read, every value that a repair changed put back, the file renamed when nothing
// is left for a later run; the report as the repair's.
int Undo(stlag::LiveEngine& engine, const stlag::ConsoleOptions& options)
{
    const stlag::Texts& texts = engine.texts();
    const stlag::UndoSource source = stlag::ReadUndoSource(options.backupPath);
    if (source.refusalId != 0) {
        ReportRefusedSource(texts, source);
        return kBadArguments;
    }
    const stlag::ParsedBackup backup = stlag::ReadBackup(source.bytes, engine.codePage());
    if (!backup.read) {
        const std::string message = stlag::FormatText(texts.Load(IDS_UNDO_NOT_READ),
                                                      {stlag::kPathMarker, static_cast<int>(backup.errorLine)});
        stlag::WriteText(StdStream::Error, stlag::WideText(message, {source.path}));
        return kBadArguments;
    }
    const std::vector<stlag::UndoItem> items = engine.Undo(backup);
    stlag::UndoTally tally = stlag::TallyUndo(items, source.path, false);
    tally.renamed = stlag::UndoFinished(tally) && stlag::MarkUndone(source.path);
    // Left under its name, the file would be taken again by every later undo of its folder.
    const bool stuck = stlag::UndoFinished(tally) && !tally.renamed;
    if (stuck)
        stlag::WriteText(StdStream::Error, stlag::WideText(stlag::FormatText(texts.Load(IDS_UNDO_NOT_RENAMED),
                                                                                 {stlag::kPathMarker}), {source.path}));
    if (options.json) {
        stlag::WriteUtf8(StdStream::Out, stlag::UndoJsonLines(items, tally, engine.codePage()));
    } else {
        const std::wstring log = stlag::AnsiToWide(stlag::UndoLog(items, texts));
        stlag::WriteText(StdStream::Out, log + (log.empty() ? L"" : L"\r\n") +
                                             stlag::WideText(stlag::UndoSummaryLine(tally, texts)) + L"\r\n");
    }
    return stuck ? std::max(1, stlag::UndoExitCode(tally)) : stlag::UndoExitCode(tally);
}

// The arguments in UTF-8, as the system hands them over, whatever their script.
std::vector<std::string> Arguments()
{
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide != nullptr && i < count; ++i)
        arguments.push_back(stlag::WideToUtf8(wide[i]));
    LocalFree(wide);
    return arguments;
}

}  // namespace

int main()
{
    stlag::LiveEngine engine;
    const stlag::Texts& texts = engine.texts();
    const stlag::ConsoleOptions options = stlag::ReadArguments(Arguments(), engine.lower());
    switch (options.action) {
    case stlag::ConsoleOptions::Action::Usage:
        stlag::WriteAnsi(StdStream::Out, stlag::FormatText(texts.Load(IDS_CONSOLE_USAGE), {STLAG_VERSION}));
        return kNothingFaulty;
    case stlag::ConsoleOptions::Action::Refuse:
        stlag::WriteText(StdStream::Error, stlag::WideText(stlag::FormatText(texts.Load(options.messageId),
                                                                             {stlag::kPathMarker}), {options.argument}));
        return kBadArguments;
    case stlag::ConsoleOptions::Action::Undo:
        return Undo(engine, options);
    default: {
        const std::optional<stlag::ConsoleOptions> settled = WithBackupFile(engine, options);
        return settled ? Run(engine, *settled) : kBadArguments;
    }
    }
}
