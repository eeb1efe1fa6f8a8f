// stlagc: the console companion. It runs the same scan as the wizard and writes its
// troubleshooting log to standard output, for technicians and remediation scripts; with
// /repair FILE it repairs every finding as the wizard would, backing up to FILE.
#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>

#include "command_line_checker.h"
#include "repair_applier.h"
#include "resource.h"
#include "run_key_scanner.h"
#include "text_format.h"
#include "win32_platform.h"
#include "win32_registry.h"

namespace {

// With /repair: 0 all repaired, 1 something left, 2 refused as well as bad arguments.
enum ExitCode { kNothingFaulty = 0, kFaultsFound = 1, kBadArguments = 2 };

// The log's own bytes: ANSI, CR LF, no translation by the runtime.
void WriteRaw(FILE* stream, const std::string& text)
{
    _setmode(_fileno(stream), _O_BINARY);
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

// The engine on the live registry, with the scan's findings and log.
struct LiveScan {
    explicit LiveScan(const stlag::Texts& texts)
        : checker(files, codePage),
          found(stlag::RunKeyScanner(registry, checker, codePage, texts).ScanRunKeys(findings, log, nullptr))
    {
    }
    stlag::Win32Registry registry;
    stlag::Win32FileSystem files;
    stlag::Win32CodePage codePage;
    stlag::CommandLineChecker checker;
    stlag::RunEntryFixList findings;
    std::string log;
    int found;
};

int Scan(const stlag::Texts& texts)
{
    const LiveScan scan(texts);
    WriteRaw(stdout, scan.log);
    return scan.found == 0 ? kNothingFaulty : kFaultsFound;
}

// Every finding ticked, as the wizard starts out; the outcome the finish page would show.
int Repair(const stlag::Texts& texts, const std::string& backupFileName)
{
    LiveScan scan(texts);
    std::string outcome = texts.Load(IDS_NO_FAULTS);
    stlag::RepairRequest request;
    request.rowCount = scan.found;
    request.isTicked = [](int) { return true; };
    request.backupFileName = [&] { return backupFileName; };
    request.warn = [&](unsigned id) { WriteRaw(stderr, texts.Load(id) + "\r\n"); };
    const int left = stlag::RepairApplier(scan.registry, scan.files, scan.codePage, texts)
                         .Repair(scan.findings, request, outcome);
    if (left < 0)
        return kBadArguments;
    WriteRaw(stdout, outcome + "\r\n");
    return left == 0 ? kNothingFaulty : kFaultsFound;
}

bool IsRepairSwitch(const std::string& argument)
{
    std::string lower = argument;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower == "/repair" || lower == "-repair";
}

}  // namespace

int main(int argc, char** argv)
{
    stlag::ResourceTexts texts;
    if (argc == 1)
        return Scan(texts);
    const std::string first = argv[1];
    if (IsRepairSwitch(first)) {
        if (argc < 3 || argv[2][0] == '\0') {
            WriteRaw(stderr, texts.Load(IDS_CONSOLE_NO_BACKUP_FILE));
            return kBadArguments;
        }
        if (argc > 3) {
            WriteRaw(stderr, stlag::FormatText(texts.Load(IDS_CONSOLE_BAD_ARGUMENT), {std::string(argv[3])}));
            return kBadArguments;
        }
        return Repair(texts, argv[2]);
    }
    if (argc == 2 && (first == "/?" || first == "-?" || first == "/h" || first == "--help")) {
        WriteRaw(stdout, texts.Load(IDS_CONSOLE_USAGE));
        return kNothingFaulty;
    }
    WriteRaw(stderr, stlag::FormatText(texts.Load(IDS_CONSOLE_BAD_ARGUMENT), {first}));
    return kBadArguments;
}
