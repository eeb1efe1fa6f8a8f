// What stlagc /undo writes: a line or a JSON object for every value of the backup file, and
// the summary that closes its output, as the repair's report does.
#ifndef STLAG_UNDO_REPORT_H
#define STLAG_UNDO_REPORT_H

#include <string>
#include <vector>

#include "platform.h"
#include "repair_undo.h"
#include "text_format.h"

namespace stlag {

struct UndoTally {
    int entries = 0, restored = 0, already = 0, changed = 0, refused = 0, failed = 0;
    std::string backupPath;  // UTF-8
    bool renamed = false;    // the file now ends in .undone
};

UndoTally TallyUndo(const std::vector<UndoItem>& items, const std::string& backupPath, bool renamed);

// 0 when every value holds its old data now, 1 when any was left.
int UndoExitCode(const UndoTally& tally);

// Whether a later run could still restore anything: only a failure can. When not, the file
// is done with, and renamed so that the next undo of its folder takes the one before.
bool UndoFinished(const UndoTally& tally);

// One ANSI line (CR LF) per item, in the file's order.
std::string UndoLog(const std::vector<UndoItem>& items, const Texts& texts);

// The summary in the ANSI code page, the backup's path apart, without a line end.
PathText UndoSummaryLine(const UndoTally& tally, const Texts& texts);

// JSON Lines in UTF-8: an object for every item, then the summary object.
std::string UndoJsonLines(const std::vector<UndoItem>& items, const UndoTally& tally, const CodePage& codePage);

}  // namespace stlag

#endif
