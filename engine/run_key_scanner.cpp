#include "run_key_scanner.h"

#include <map>

#include "resource.h"
#include "text_format.h"

namespace stlag {

namespace {
bool Judges(unsigned long type)
{
    return type == kRegSz || type == kRegExpandSz;
}

// The log line of each reason a value is left unjudged.
const std::pair<UnjudgedReason, unsigned> kReasonTexts[] = {
    {UnjudgedReason::KeyPathControlCharacter, IDS_LOG_KEY_PATH_CONTROL},
    {UnjudgedReason::NameControlCharacter, IDS_LOG_NAME_CONTROL},
    {UnjudgedReason::NameNotInCodePage, IDS_LOG_NAME_NOT_IN_CODEPAGE},
    {UnjudgedReason::Unreadable, IDS_LOG_UNREADABLE},
    {UnjudgedReason::MoreThanOneString, IDS_LOG_MORE_THAN_ONE_STRING},
    {UnjudgedReason::DataNotInCodePage, IDS_LOG_NOT_IN_CODEPAGE},
    {UnjudgedReason::NetworkOrDevicePath, IDS_LOG_NETWORK_PATH},
    {UnjudgedReason::DriveNotLocalFixed, IDS_LOG_DRIVE_NOT_FIXED},
    {UnjudgedReason::RelativePath, IDS_LOG_RELATIVE_PATH},
    {UnjudgedReason::Wildcard, IDS_LOG_WILDCARD},
    {UnjudgedReason::Folder, IDS_LOG_FOLDER},
    {UnjudgedReason::FileSystemError, IDS_LOG_FILE_SYSTEM_ERROR},
    {UnjudgedReason::ReparsePoint, IDS_LOG_REPARSE_POINT},
    {UnjudgedReason::PathTooLong, IDS_LOG_PATH_TOO_LONG},
    {UnjudgedReason::ProgramInVariable, IDS_LOG_PROGRAM_IN_VARIABLE},
    {UnjudgedReason::ProgramForm, IDS_LOG_PROGRAM_FORM},
    {UnjudgedReason::UserVariable, IDS_LOG_USER_VARIABLE},
    {UnjudgedReason::ExpansionFailed, IDS_LOG_EXPANSION_FAILED},
    {UnjudgedReason::ExpansionEmpty, IDS_LOG_EXPANSION_EMPTY},
};

}  // namespace

Judgement JudgeByRule(const CommandLineChecker& checker, const ScanSection& section, const std::string& name,
                      unsigned long type, const std::string& data)
{
    if (section.rule == CheckRule::Run)
        return checker.CheckCommandLine(data, section.owner, type == kRegExpandSz);
    if (section.rule == CheckRule::Winlogon && name == "Userinit")
        return checker.CheckProgramList(data, section.owner);
    return checker.CheckProgramPath(data, section.owner);
}

std::vector<ScanSection> RunSections()
{
    static const char* const kUserKeys[] = {"Run", "RunOnce"};
    static const char* const kMachineKeys[] = {"Run", "RunOnce", "RunServices", "RunServicesOnce", "RunOnce\\Setup"};
    // Group Policy's start-up programs. The machine's key is one that WOW64 shares between
    // the views, so its 32-bit view is the same key again.
    static const char kPolicyKey[] = "Policies\\Explorer\\Run";
    std::vector<ScanSection> sections;
    const auto add = [&sections](RegistryRoot root, const char* key, RegistryView view) {
        const LineOwner owner = root == RegistryRoot::CurrentUser ? LineOwner::Process : LineOwner::Machine;
        sections.push_back({root, RunSubKey(key), view, CheckRule::Run, {}, owner});
    };
    for (const char* key : kUserKeys)
        add(RegistryRoot::CurrentUser, key, RegistryView::Native);
    for (const RegistryView view : {RegistryView::Native, RegistryView::Wow64})
        for (const char* key : kMachineKeys)
            add(RegistryRoot::LocalMachine, key, view);
    add(RegistryRoot::CurrentUser, kPolicyKey, RegistryView::Native);
    add(RegistryRoot::LocalMachine, kPolicyKey, RegistryView::Native);
    return sections;
}

// The log's texts, loaded once per scan rather than once per value.
struct RunKeyScanner::LogTexts {
    explicit LogTexts(const Texts& texts)
        : keyHeader(texts.Load(IDS_LOG_KEY_HEADER)), keyMissing(texts.Load(IDS_LOG_KEY_MISSING)),
          value(texts.Load(IDS_LOG_VALUE)), data(texts.Load(IDS_LOG_DATA)), notString(texts.Load(IDS_LOG_NOT_STRING)),
          ok(texts.Load(IDS_LOG_OK)), faulty(texts.Load(IDS_LOG_FAULTY)), deleteValue(texts.Load(IDS_LOG_DELETE)),
          newData(texts.Load(IDS_LOG_NEW_DATA)), nameTooLong(texts.Load(IDS_LOG_NAME_TOO_LONG)),
          programMissing(texts.Load(IDS_LOG_PROGRAM_MISSING)), walkEnded(texts.Load(IDS_LOG_WALK_ENDED)),
          keyNameNotInCodePage(texts.Load(IDS_LOG_KEY_NAME_NOT_IN_CODEPAGE)), keyNameNul(texts.Load(IDS_LOG_KEY_NAME_NUL)),
          byHand(texts.Load(IDS_LOG_BY_HAND))
    {
        for (const auto& reason : kReasonTexts)
            unjudged[reason.first] = texts.Load(reason.second);
    }
    std::string keyHeader, keyMissing, value, data, notString, ok, faulty, deleteValue, newData, nameTooLong,
        programMissing, walkEnded, keyNameNotInCodePage, keyNameNul, byHand;
    std::map<UnjudgedReason, std::string> unjudged;
};

ScanResult RunKeyScanner::Scan(const std::vector<ScanSection>& sections) const
{
    const LogTexts texts(texts_);
    ScanResult result;
    for (const ScanSection& section : sections) {
        if (!result.logText.empty())
            result.logText += "\r\n\r\n";
        result.keys.push_back({KeyFullPath(section.root, section.subKey, section.view), section.view, kErrorSuccess,
                               section.trueName});
        result.logText += FormatText(texts.keyHeader, {ShownInLog(result.keys.back().path)});
        if (section.listError == kErrorNoUnicodeTranslation || section.listError == kErrorInvalidName) {
            result.keys.back().error = section.listError;
            result.logText += section.listError == kErrorInvalidName ? texts.keyNameNul : texts.keyNameNotInCodePage;
        } else if (section.listError != kErrorSuccess) {
            EndWalk(texts, section.listError, result);
        } else {
            ScanSectionKey(texts, section, result);
        }
    }
    return result;
}

void RunKeyScanner::ScanSectionKey(const LogTexts& texts, const ScanSection& section, ScanResult& result) const
{
    const ScopedKey key(registry_, section.root, section.view, section.subKey, RegAccess::Read);
    if (key.status() == kErrorSuccess) {
        ScanKey(texts, section, key.get(), result);
        return;
    }
    result.logText += texts.keyMissing;
    // A key that is not there was looked at all the same; one that would not open was not.
    if (key.status() != kErrorFileNotFound)
        result.keys.back().error = key.status();
}

void RunKeyScanner::ScanKey(const LogTexts& texts, const ScanSection& section, RegKey key, ScanResult& result) const
{
    RegValue value;
    for (const std::string& name : section.valueNames) {
        const long status = registry_.ReadNamedValue(key, name, value);
        if (status == kErrorSuccess)
            JudgeValue(texts, section, value, result);
        else if (status != kErrorFileNotFound)
            return EndWalk(texts, status, result);
    }
    if (!section.valueNames.empty())
        return;
    for (unsigned long index = 0;; ++index) {
        const long status = registry_.ReadValue(key, index, value);
        if (status == kErrorMoreData) {
            // Ending the walk here would hide every later value of the key.
            result.logText += FormatText(texts.nameTooLong, {static_cast<int>(index)});
            result.unread.push_back({result.keys.size() - 1, false, std::string(), std::u16string(), index, status});
            continue;
        }
        if (status == kErrorNoMoreItems)
            return;
        if (status != kErrorSuccess)
            return EndWalk(texts, status, result);
        JudgeValue(texts, section, value, result);
    }
}

void RunKeyScanner::EndWalk(const LogTexts& texts, long status, ScanResult& result) const
{
    result.keys.back().error = status;
    result.logText += FormatText(texts.walkEnded, {StatusName(status)});
}

void RunKeyScanner::JudgeValue(const LogTexts& texts, const ScanSection& section, const RegValue& value,
                               ScanResult& result) const
{
    std::string& logText = result.logText;
    logText += FormatText(texts.value, {ShownInLog(value.name)});
    if (Judges(value.type) && !value.dataRead) {
        // Judged as empty it would be proposed for deletion, though it may work fine.
        logText += texts.unjudged.at(UnjudgedReason::Unreadable);
        result.unread.push_back({result.keys.size() - 1, true, value.name, value.trueName, 0, kErrorMoreData});
        return;
    }
    LookedAt looked;
    looked.key = result.keys.size() - 1, looked.name = value.name, looked.type = value.type;
    looked.trueName = value.trueName, looked.trueData = WithoutTerminators(value.trueData);
    looked.data = WithoutTerminators(value.data);
    const std::string& data = looked.data;
    if (!Judges(value.type)) {
        logText += texts.notString;
    } else if ((looked.reason = Unjudged(result, value, data)) != UnjudgedReason::None) {
        if (value.nameInCodePage)
            logText += FormatText(texts.data, {ShownInLog(data.substr(0, data.find('\0')))});
        logText += texts.unjudged.at(looked.reason);
    } else {
        logText += FormatText(texts.data, {ShownInLog(data)});
        Conclude(texts, section, value, looked, result);
    }
    result.values.push_back(std::move(looked));
}

Judgement RunKeyScanner::Judge(const ScanSection& section, const RegValue& value, const std::string& data) const
{
    return JudgeByRule(checker_, section, value.name, value.type, data);
}

void RunKeyScanner::Conclude(const LogTexts& texts, const ScanSection& section, const RegValue& value,
                             LookedAt& looked, ScanResult& result) const
{
    const Judgement judged = Judge(section, value, looked.data);
    looked.verdict = judged.verdict;
    looked.reason = judged.reason;
    switch (judged.verdict) {
    case Verdict::Ok: result.logText += texts.ok; return;
    case Verdict::ProgramMissing: result.logText += texts.programMissing; return;
    case Verdict::Unjudged: result.logText += texts.unjudged.at(judged.reason); return;
    case Verdict::ChangeByHand:
        looked.byHand = judged.newData;
        result.logText += FormatText(texts.byHand, {ShownInLog(judged.newData)});
        return;
    default: break;
    }
    looked.finding = static_cast<int>(result.findings.size());
    result.findings.push_back(Finding{value.name, looked.data, judged.newData, section.subKey, section.root,
                                      section.view, value.type});
    const std::string proposal =
        judged.newData.empty() ? texts.deleteValue : FormatText(texts.newData, {ShownInLog(judged.newData)});
    result.logText += FormatText(texts.faulty, {proposal});
}

UnjudgedReason RunKeyScanner::Unjudged(const ScanResult& result, const RegValue& value, const std::string& data)
{
    // A backup file could not name the key without the name writing lines of its own.
    if (HoldsControlCharacter(result.keys.back().path))
        return UnjudgedReason::KeyPathControlCharacter;
    // Cut at a NUL the name would steer the repair to its namesake, and a line break would
    // write lines of its own into the backup.
    if (HoldsControlCharacter(value.name))
        return UnjudgedReason::NameControlCharacter;
    // A name the code page cannot hold would be written back under another name.
    if (!value.nameInCodePage)
        return UnjudgedReason::NameNotInCodePage;
    // Judged up to its first NUL, a repair would lose the rest for good.
    if (data.find('\0') != std::string::npos)
        return UnjudgedReason::MoreThanOneString;
    // A character outside the code page would be written back as a best fit or '?'.
    if (!value.dataInCodePage)
        return UnjudgedReason::DataNotInCodePage;
    return UnjudgedReason::None;
}

}  // namespace stlag
