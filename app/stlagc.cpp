// stlagc: the console companion. It runs the same scan as the wizard and writes its
// troubleshooting log to standard output, for technicians and remediation scripts; with
// /repair FILE it repairs every finding as the wizard would, backing up to FILE.
#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>

#include "ansi_text.h"
#include "live_engine.h"
#include "resource.h"
#include "text_format.h"

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

int Scan(stlag::LiveEngine& engine)
{
    const stlag::ScanResult scan = engine.Scan();
    WriteRaw(stdout, scan.logText);
    return scan.findings.empty() ? kNothingFaulty : kFaultsFound;
}

// Every finding ticked, as the wizard starts out; the outcome the finish page would show.
int Repair(stlag::LiveEngine& engine, const std::string& backupPath)
{
    const stlag::ScanResult scan = engine.Scan();
    const stlag::RepairRequest request{std::vector<bool>(scan.findings.size(), true), backupPath};
    const stlag::RepairResult result = engine.Repair(scan.findings, request);
    if (result.refusal != stlag::RepairRefusal::None) {
        WriteRaw(stderr, engine.texts().Load(result.warningTextId) + "\r\n");
        return kBadArguments;
    }
    WriteRaw(stdout, result.outcomeText + "\r\n");
    return result.findingsLeft.empty() ? kNothingFaulty : kFaultsFound;
}

int BadArgument(const stlag::Texts& texts, const std::string& argument)
{
    WriteRaw(stderr, stlag::FormatText(texts.Load(IDS_CONSOLE_BAD_ARGUMENT), {argument}));
    return kBadArguments;
}

}  // namespace

int main(int argc, char** argv)
{
    stlag::LiveEngine engine;
    const stlag::Texts& texts = engine.texts();
    if (argc == 1)
        return Scan(engine);
    const std::string first = argv[1];
    const std::string lowered = stlag::LowerCaser(engine.codePage())(first);
    if (lowered == "/repair" || lowered == "-repair") {
        if (argc < 3 || argv[2][0] == '\0') {
            WriteRaw(stderr, texts.Load(IDS_CONSOLE_NO_BACKUP_FILE));
            return kBadArguments;
        }
        return argc > 3 ? BadArgument(texts, argv[3]) : Repair(engine, argv[2]);
    }
    if (argc == 2 && (first == "/?" || first == "-?" || first == "/h" || first == "--help")) {
        WriteRaw(stdout, texts.Load(IDS_CONSOLE_USAGE));
        return kNothingFaulty;
    }
    return BadArgument(texts, first);
}
