#include "console_report.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "ansi_text.h"
#include "resource.h"
#include "text_format.h"

namespace stlag {

namespace {

using Json = nlohmann::ordered_json;

// Cut so that the summary stays far below its limit even with every backslash escaped.
constexpr std::size_t kShownPathLimit = 600;

}  // namespace

std::string ShownPath(const std::string& path)
{
    if (path.size() <= kShownPathLimit)
        return path;
    std::size_t end = kShownPathLimit - 3;
    while (end > 0 && (static_cast<unsigned char>(path[end]) & 0xC0) == 0x80)
        --end;
    return path.substr(0, end) + "...";
}

namespace {

void AppendUtf8(char32_t c, std::string& out)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    static const unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
    const int trailing = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    out += static_cast<char>(kLead[trailing] | (c >> (6 * trailing)));
    for (int i = trailing - 1; i >= 0; --i)
        out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
}

// Through the code page's own UTF-16, as the system sees the text.
std::string Utf8(const std::u16string& wide)
{
    std::string out;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = wide[i];
        const bool pair = c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                          wide[i + 1] < 0xE000;
        if (pair)
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        AppendUtf8(c, out);
    }
    return out;
}

}  // namespace

std::string Utf8(const std::string& ansi, const CodePage& codePage)
{
    return Utf8(codePage.ToWide(ansi));
}

std::string TypeName(unsigned long type)
{
    static const char* const kNames[] = {"REG_NONE", "REG_SZ", "REG_EXPAND_SZ", "REG_BINARY", "REG_DWORD",
                                         "REG_DWORD_BIG_ENDIAN", "REG_LINK", "REG_MULTI_SZ"};
    return type < sizeof kNames / sizeof kNames[0] ? kNames[type] : std::to_string(type);
}

namespace {

// The registry's own text where the code page lacks a character of it, never a stand-in.
std::string TrueUtf8(const std::string& ansi, const std::u16string& trueText, const CodePage& codePage)
{
    return trueText.empty() ? Utf8(ansi, codePage) : Utf8(trueText);
}

// A key's path, its last part by its own name.
std::string KeyUtf8(const ScannedKey& key, const CodePage& codePage)
{
    if (key.trueName.empty())
        return Utf8(key.path, codePage);
    return Utf8(key.path.substr(0, key.path.rfind('\\') + 1), codePage) + Utf8(key.trueName);
}

const char* VerdictName(const LookedAt& value, const FindingList& findings)
{
    switch (value.verdict) {
    case Verdict::Ok: return "ok";
    case Verdict::ProgramMissing: return "program-missing";
    case Verdict::Unjudged: return "not-judged";
    case Verdict::ChangeByHand: return "change-by-hand";
    default: return findings[static_cast<std::size_t>(value.finding)].newData.empty() ? "delete" : "change";
    }
}

const char* ReasonName(UnjudgedReason reason)
{
    static const std::pair<UnjudgedReason, const char*> kNames[] = {
        {UnjudgedReason::KeyPathControlCharacter, "key-path-control-character"},
        {UnjudgedReason::NameControlCharacter, "name-control-character"},
        {UnjudgedReason::NameNotInCodePage, "name-not-in-code-page"},
        {UnjudgedReason::Unreadable, "unreadable"},
        {UnjudgedReason::MoreThanOneString, "more-than-one-string"},
        {UnjudgedReason::DataNotInCodePage, "data-not-in-code-page"},
        {UnjudgedReason::NetworkOrDevicePath, "network-or-device-path"},
        {UnjudgedReason::DriveNotLocalFixed, "drive-not-local-fixed"},
        {UnjudgedReason::RelativePath, "relative-path"},
        {UnjudgedReason::Wildcard, "wildcard"},
        {UnjudgedReason::Folder, "folder"},
        {UnjudgedReason::FileSystemError, "file-system-error"},
        {UnjudgedReason::ReparsePoint, "reparse-point"},
        {UnjudgedReason::PathTooLong, "path-too-long"},
        {UnjudgedReason::ProgramInVariable, "program-in-variable"},
        {UnjudgedReason::ProgramForm, "program-form"},
        {UnjudgedReason::UserVariable, "user-variable"},
        {UnjudgedReason::ExpansionFailed, "expansion-failed"},
        {UnjudgedReason::ExpansionEmpty, "expansion-failed"}};
    for (const auto& name : kNames) {
        if (name.first == reason)
            return name.second;
    }
    return "not-a-string";
}

const char* ViewName(RegistryView view)
{
    return view == RegistryView::Wow64 ? "32-bit" : "64-bit";
}

const char* RepairName(const LookedAt& value, const FindingList& findings, const RepairResult& repair)
{
    if (value.finding < 0)
        return "untouched";
    const auto index = static_cast<std::size_t>(value.finding);
    switch (repair.outcomes[index]) {
    case RepairOutcome::Repaired: return findings[index].newData.empty() ? "deleted" : "changed";
    case RepairOutcome::Failed: return "failed";
    case RepairOutcome::ChangedSinceScan: return "changed-since-scan";
    default: return "not-tried";
    }
}

// Data that holds more than one string would read as other text.
bool ShowsData(const LookedAt& value)
{
    return value.reason != UnjudgedReason::MoreThanOneString;
}

Json Proposed(const LookedAt& value, const Finding* finding, const CodePage& codePage)
{
    if (value.verdict == Verdict::ChangeByHand)
        return Utf8(value.byHand, codePage);
    return finding && !finding->newData.empty() ? Json(Utf8(finding->newData, codePage)) : Json();
}

Json ValueObject(const LookedAt& value, const ScanResult& scan, const RepairResult* repair, const CodePage& codePage)
{
    const bool text = value.type == kRegSz || value.type == kRegExpandSz;
    const Finding* finding = value.finding < 0 ? nullptr : &scan.findings[static_cast<std::size_t>(value.finding)];
    const ScannedKey& key = scan.keys[value.key];
    Json object = {{"key", KeyUtf8(key, codePage)},
                   {"view", ViewName(key.view)},
                   {"name", TrueUtf8(value.name, value.trueName, codePage)},
                   {"type", TypeName(value.type)},
                   {"data", text && ShowsData(value) ? Json(TrueUtf8(value.data, value.trueData, codePage)) : Json()},
                   {"verdict", VerdictName(value, scan.findings)},
                   {"proposed", Proposed(value, finding, codePage)}};
    if (value.verdict == Verdict::Unjudged)
        object["reason"] = ReasonName(value.reason);
    if (repair != nullptr)
        object["repair"] = RepairName(value, scan.findings, *repair);
    return object;
}

// A value by its name, or by its place in the key when its name could not be read.
Json UnreadObject(const UnreadValue& value, const ScanResult& scan, const CodePage& codePage)
{
    const ScannedKey& key = scan.keys[value.key];
    Json object = {{"key", KeyUtf8(key, codePage)}, {"view", ViewName(key.view)}};
    if (value.named)
        object["name"] = TrueUtf8(value.name, value.trueName, codePage);
    else
        object["index"] = value.index;
    object["error"] = StatusName(value.status);
    return object;
}

bool Judges(unsigned long type)
{
    return type == kRegSz || type == kRegExpandSz;
}

std::string Line(const Json& object)
{
    return object.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace

int ExitCode(const ScanResult& scan, const RepairResult* repair)
{
    if (repair != nullptr && repair->refusal != RepairRefusal::None)
        return 2;
    const bool byHand = std::any_of(scan.values.begin(), scan.values.end(),
                                    [](const LookedAt& value) { return value.verdict == Verdict::ChangeByHand; });
    if (byHand || (repair != nullptr ? !repair->findingsLeft.empty() : !scan.findings.empty()))
        return 1;
    const bool unread = !scan.unread.empty() || std::any_of(scan.keys.begin(), scan.keys.end(), [](const ScannedKey& key) {
        return key.error != kErrorSuccess;
    });
    return unread ? 3 : 0;
}

RunTally Tally(const ScanResult& scan, const RepairResult* repair, const std::string& backupPath)
{
    RunTally tally;
    tally.lookedAt = static_cast<int>(scan.values.size());
    tally.faulty = static_cast<int>(scan.findings.size());
    for (const LookedAt& value : scan.values) {
        tally.programsMissing += value.verdict == Verdict::ProgramMissing ? 1 : 0;
        tally.byHand += value.verdict == Verdict::ChangeByHand ? 1 : 0;
        tally.notJudged += value.verdict == Verdict::Unjudged && Judges(value.type) ? 1 : 0;
    }
    for (const ScannedKey& key : scan.keys)
        tally.unreadKeys += key.error != kErrorSuccess ? 1 : 0;
    tally.unreadValues = static_cast<int>(scan.unread.size());
    if (repair != nullptr) {
        tally.repaired = static_cast<int>(std::count(repair->outcomes.begin(), repair->outcomes.end(),
                                                     RepairOutcome::Repaired));
        if (repair->refusal == RepairRefusal::None && !scan.findings.empty())
            tally.backupPath = backupPath;
        tally.backupStopped = repair->backupStopped;
    }
    tally.faulty += tally.byHand;
    tally.left = tally.faulty - tally.repaired;
    return tally;
}

PathText SummaryLine(const RunTally& tally, const Texts& texts)
{
    std::string line = FormatText(texts.Load(IDS_CONSOLE_SUMMARY),
                                  {tally.lookedAt, tally.faulty, tally.repaired, tally.left, tally.byHand,
                                   tally.programsMissing, tally.notJudged, tally.unreadKeys, tally.unreadValues});
    if (tally.backupStopped)
        line += texts.Load(IDS_CONSOLE_SUMMARY_STOPPED);
    if (!tally.backupPath.empty())
        line += FormatText(texts.Load(IDS_CONSOLE_SUMMARY_BACKUP), {kPathMarker});
    return WithPath(line, ShownPath(tally.backupPath));
}

std::string JsonLines(const ScanResult& scan, const RepairResult* repair, const RunTally& tally,
                      const CodePage& codePage)
{
    std::string lines;
    for (const LookedAt& value : scan.values)
        lines += Line(ValueObject(value, scan, repair, codePage));
    for (const ScannedKey& key : scan.keys) {
        if (key.error != kErrorSuccess)
            lines += Line({{"key", KeyUtf8(key, codePage)}, {"view", ViewName(key.view)},
                           {"error", StatusName(key.error)}});
    }
    for (const UnreadValue& value : scan.unread)
        lines += Line(UnreadObject(value, scan, codePage));
    const Json backup = tally.backupPath.empty() ? Json() : Json(ShownPath(tally.backupPath));
    return lines + Line({{"summary", true}, {"looked_at", tally.lookedAt}, {"faulty", tally.faulty},
                         {"repaired", tally.repaired}, {"left", tally.left}, {"change_by_hand", tally.byHand},
                         {"program_missing", tally.programsMissing}, {"not_judged", tally.notJudged},
                         {"unreadable_keys", tally.unreadKeys}, {"unreadable_values", tally.unreadValues},
                         {"backup", backup}, {"backup_stopped", tally.backupStopped}});
}

}  // namespace stlag
