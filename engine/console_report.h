// What stlagc writes besides the log and the outcome text: one JSON object per value looked
// at, and the summary that always closes its output, as one line each.
#ifndef STLAG_CONSOLE_REPORT_H
#define STLAG_CONSOLE_REPORT_H

#include <string>

#include "platform.h"
#include "repair_applier.h"
#include "run_key_scanner.h"
#include "text_format.h"

namespace stlag {

// Device management shows only the last line of output, cut at this many characters.
constexpr std::size_t kSummaryLimit = 2048;

struct RunTally {
    int lookedAt = 0;
    int faulty = 0;
    int repaired = 0;
    int left = 0;
    int byHand = 0;  // faulty, left for a person to change; counted in faulty and left
    int programsMissing = 0;
    int notJudged = 0;       // looked at, and left for a person to judge
    int unreadKeys = 0;      // keys that exist but could not be read to their end
    int unreadValues = 0;    // values passed over unread
    std::string backupPath;  // UTF-8; empty when no backup was made
    bool backupStopped = false;  // the backup could not be written further; the rest was left
};

// A UTF-8 path cut between characters, never inside one, short enough for the summary.
std::string ShownPath(const std::string& path);

// ANSI text through the code page's own UTF-16, as the system sees it, in UTF-8.
std::string Utf8(const std::string& ansi, const CodePage& codePage);

// "REG_SZ" and the like, or the number of a type without a name.
std::string TypeName(unsigned long type);

// stlagc's exit code; repair is null for a scan alone. 0 nothing faulty, or all repaired;
// 1 faults found, or some left (a value to change by hand is always left); 2 the repair was
// refused; 3 in the place of 0 when a key or a value could not be read, so that a fleet
// report never shows a clean machine it did not see whole.
int ExitCode(const ScanResult& scan, const RepairResult* repair);

// repair is null for a scan alone. backupPath counts only when the repair created it.
RunTally Tally(const ScanResult& scan, const RepairResult* repair, const std::string& backupPath);

// The summary in the ANSI code page, the backup's path apart, without a line end and shorter
// than kSummaryLimit: a long backup path is cut, with "..." at its end.
PathText SummaryLine(const RunTally& tally, const Texts& texts);

// JSON Lines in UTF-8, each line ended by LF: an object for every value looked at (with
// what the repair did to it when there was one, and why it was not judged when it was
// not), one for every key and every value that could not be read, then the summary object.
std::string JsonLines(const ScanResult& scan, const RepairResult* repair, const RunTally& tally,
                      const CodePage& codePage);

}  // namespace stlag

#endif
