// What stlagc writes besides the log and the outcome text: one JSON object per value looked
// at, and the summary that always closes its output, as one line each.
#ifndef STLAG_CONSOLE_REPORT_H
#define STLAG_CONSOLE_REPORT_H

#include <string>

#include "platform.h"
#include "repair_applier.h"
#include "run_key_scanner.h"

namespace stlag {

// Device management shows only the last line of output, cut at this many characters.
constexpr std::size_t kSummaryLimit = 2048;

struct RunTally {
    int lookedAt = 0;
    int faulty = 0;
    int repaired = 0;
    int left = 0;
    int programsMissing = 0;
    std::string backupPath;  // empty when no backup was made
};

// repair is null for a scan alone. backupPath counts only when the repair created it.
RunTally Tally(const ScanResult& scan, const RepairResult* repair, const std::string& backupPath);

// The summary in the ANSI code page, without a line end and shorter than kSummaryLimit: a
// long backup path is cut, with "..." at its end.
std::string SummaryLine(const RunTally& tally, const Texts& texts, const CodePage& codePage);

// JSON Lines in UTF-8, each line ended by LF: an object for every value looked at (with
// what the repair did to it when there was one), then the summary object.
std::string JsonLines(const ScanResult& scan, const RepairResult* repair, const RunTally& tally,
                      const CodePage& codePage);

}  // namespace stlag

#endif
