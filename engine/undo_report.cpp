#include "undo_report.h"

#include <nlohmann/json.hpp>

#include "console_report.h"
#include "resource.h"

namespace stlag {

namespace {

using Json = nlohmann::ordered_json;

const char* OutcomeName(UndoOutcome outcome)
{
    switch (outcome) {
    case UndoOutcome::Restored: return "restored";
    case UndoOutcome::AlreadyRestored: return "already-restored";
    case UndoOutcome::ChangedSinceRepair: return "changed-since-repair";
    case UndoOutcome::Failed: return "failed";
    default: return "refused";
    }
}

const char* RefusalName(UndoRefusal refusal)
{
    switch (refusal) {
    case UndoRefusal::NotScanned: return "not-scanned";
    case UndoRefusal::Form: return "form";
    case UndoRefusal::NotFaulty: return "not-faulty";
    default: return "named-twice";
    }
}

std::string OutcomeText(const UndoItem& item, const Texts& texts)
{
    switch (item.outcome) {
    case UndoOutcome::Restored: return texts.Load(IDS_UNDO_RESTORED);
    case UndoOutcome::AlreadyRestored: return texts.Load(IDS_UNDO_ALREADY);
    case UndoOutcome::ChangedSinceRepair: return texts.Load(IDS_UNDO_CHANGED);
    case UndoOutcome::Failed: return FormatText(texts.Load(IDS_UNDO_FAILED), {StatusName(item.status)});
    default: break;
    }
    static const std::pair<UndoRefusal, unsigned> kTexts[] = {{UndoRefusal::NotScanned, IDS_UNDO_NOT_SCANNED},
                                                              {UndoRefusal::Form, IDS_UNDO_FORM},
                                                              {UndoRefusal::NotFaulty, IDS_UNDO_NOT_FAULTY}};
    for (const auto& text : kTexts) {
        if (text.first == item.refusal)
            return texts.Load(text.second);
    }
    return texts.Load(IDS_UNDO_TWICE);
}

std::string Line(const Json& object)
{
    return object.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace

UndoTally TallyUndo(const std::vector<UndoItem>& items, const std::string& backupPath, bool renamed)
{
    UndoTally tally;
    tally.entries = static_cast<int>(items.size());
    for (const UndoItem& item : items) {
        tally.restored += item.outcome == UndoOutcome::Restored ? 1 : 0;
        tally.already += item.outcome == UndoOutcome::AlreadyRestored ? 1 : 0;
        tally.changed += item.outcome == UndoOutcome::ChangedSinceRepair ? 1 : 0;
        tally.refused += item.outcome == UndoOutcome::Refused ? 1 : 0;
        tally.failed += item.outcome == UndoOutcome::Failed ? 1 : 0;
    }
    tally.backupPath = backupPath;
    tally.renamed = renamed;
    return tally;
}

int UndoExitCode(const UndoTally& tally)
{
    return tally.restored + tally.already == tally.entries ? 0 : 1;
}

bool UndoFinished(const UndoTally& tally)
{
    return tally.failed == 0;
}

std::string UndoLog(const std::vector<UndoItem>& items, const Texts& texts)
{
    const std::string format = texts.Load(IDS_UNDO_LINE);
    std::string log;
    for (const UndoItem& item : items)
        log += FormatText(format, {ShownInLog(item.entry.keyPath), ShownInLog(item.entry.name), static_cast<int>(item.entry.line),
                                   OutcomeText(item, texts)});
    return log;
}

PathText UndoSummaryLine(const UndoTally& tally, const Texts& texts)
{
    std::string line = FormatText(texts.Load(IDS_UNDO_SUMMARY), {tally.entries, tally.restored, tally.already,
                                                                 tally.changed, tally.refused, tally.failed,
                                                                 kPathMarker});
    if (tally.renamed)
        line += texts.Load(IDS_UNDO_RENAMED);
    return WithPath(line, ShownPath(tally.backupPath));
}

std::string UndoJsonLines(const std::vector<UndoItem>& items, const UndoTally& tally, const CodePage& codePage)
{
    std::string lines;
    for (const UndoItem& item : items) {
        Json object = {{"key", Utf8(item.entry.keyPath, codePage)},
                       {"name", Utf8(item.entry.name, codePage)},
                       {"type", TypeName(item.entry.type)},
                       {"line", item.entry.line},
                       {"undo", OutcomeName(item.outcome)}};
        if (item.outcome == UndoOutcome::Refused)
            object["reason"] = RefusalName(item.refusal);
        if (item.outcome == UndoOutcome::Failed)
            object["error"] = StatusName(item.status);
        lines += Line(object);
    }
    return lines + Line({{"summary", true}, {"values", tally.entries}, {"restored", tally.restored},
                         {"already_restored", tally.already}, {"changed_since_repair", tally.changed},
                         {"refused", tally.refused}, {"failed", tally.failed},
                         {"backup", ShownPath(tally.backupPath)}, {"renamed", tally.renamed}});
}

}  // namespace stlag
