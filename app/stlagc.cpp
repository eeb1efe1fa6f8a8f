// stlagc: the console companion. It runs the same scan as the wizard and writes its
// troubleshooting log to standard output, for technicians and remediation scripts.
#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>

#include "command_line_checker.h"
#include "resource.h"
#include "run_key_scanner.h"
#include "text_format.h"
#include "win32_platform.h"
#include "win32_registry.h"

namespace {

enum ExitCode { kNothingFaulty = 0, kFaultsFound = 1, kBadArguments = 2 };

// The log's own bytes: ANSI, CR LF, no translation by the runtime.
void WriteRaw(FILE* stream, const std::string& text)
{
    _setmode(_fileno(stream), _O_BINARY);
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

int Scan(const stlag::Texts& texts)
{
    stlag::Win32Registry registry;
    stlag::Win32FileSystem files;
    stlag::Win32CodePage codePage;
    stlag::CommandLineChecker checker(files, codePage);
    stlag::RunKeyScanner scanner(registry, checker, codePage, texts);
    stlag::RunEntryFixList findings;
    std::string log;
    const int found = scanner.ScanRunKeys(findings, log, nullptr);
    WriteRaw(stdout, log);
    return found == 0 ? kNothingFaulty : kFaultsFound;
}

}  // namespace

int main(int argc, char** argv)
{
    stlag::ResourceTexts texts;
    if (argc == 1)
        return Scan(texts);
    const std::string first = argv[1];
    if (argc == 2 && (first == "/?" || first == "-?" || first == "/h" || first == "--help")) {
        WriteRaw(stdout, texts.Load(IDS_CONSOLE_USAGE));
        return kNothingFaulty;
    }
    WriteRaw(stderr, stlag::FormatText(texts.Load(IDS_CONSOLE_BAD_ARGUMENT), {first}));
    return kBadArguments;
}
