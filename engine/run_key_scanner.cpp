#include "run_key_scanner.h"

#include "resource.h"
#include "text_format.h"

namespace stlag {

namespace {
bool Judges(CheckRule rule, unsigned long type)
{
    return type == kRegSz || (rule == CheckRule::Path && type == kRegExpandSz);
}
}  // namespace

std::vector<ScanSection> RunSections()
{
    static const char* const kUserKeys[] = {"Run", "RunOnce"};
    static const char* const kMachineKeys[] = {"Run", "RunOnce", "RunServices", "RunServicesOnce", "RunOnce\\Setup"};
    std::vector<ScanSection> sections;
    for (const char* key : kUserKeys)
        sections.push_back({"HKEY_CURRENT_USER", RunSubKey(key), RegistryView::Native, CheckRule::Run, {}});
    for (const RegistryView view : {RegistryView::Native, RegistryView::Wow64})
        for (const char* key : kMachineKeys)
            sections.push_back({"HKEY_LOCAL_MACHINE", RunSubKey(key), view, CheckRule::Run, {}});
    return sections;
}

// The log's texts, loaded once per scan rather than once per value.
struct RunKeyScanner::LogTexts {
    explicit LogTexts(const Texts& texts)
        : keyHeader(texts.Load(IDS_LOG_KEY_HEADER)), keyMissing(texts.Load(IDS_LOG_KEY_MISSING)),
          value(texts.Load(IDS_LOG_VALUE)), data(texts.Load(IDS_LOG_DATA)), notString(texts.Load(IDS_LOG_NOT_STRING)),
          ok(texts.Load(IDS_LOG_OK)), faulty(texts.Load(IDS_LOG_FAULTY)), deleteValue(texts.Load(IDS_LOG_DELETE)),
          newData(texts.Load(IDS_LOG_NEW_DATA)), unreadable(texts.Load(IDS_LOG_UNREADABLE)),
          notInCodePage(texts.Load(IDS_LOG_NOT_IN_CODEPAGE)), nameTooLong(texts.Load(IDS_LOG_NAME_TOO_LONG)),
          nameNotInCodePage(texts.Load(IDS_LOG_NAME_NOT_IN_CODEPAGE)),
          moreThanOneString(texts.Load(IDS_LOG_MORE_THAN_ONE_STRING)), programMissing(texts.Load(IDS_LOG_PROGRAM_MISSING))
    {
    }
    std::string keyHeader, keyMissing, value, data, notString, ok, faulty, deleteValue, newData, unreadable,
        notInCodePage, nameTooLong, nameNotInCodePage, moreThanOneString, programMissing;
};

ScanResult RunKeyScanner::Scan(const std::vector<ScanSection>& sections) const
{
    const LogTexts texts(texts_);
    ScanResult result;
    for (const ScanSection& section : sections) {
        if (!result.logText.empty())
            result.logText += "\r\n\r\n";
        result.keys.push_back({KeyFullPath(section.rootName, section.subKey, section.view), section.view});
        result.logText += FormatText(texts.keyHeader, {result.keys.back().path});
        RegKey key = 0;
        if (registry_.OpenKey(RootFromName(section.rootName), section.view, section.subKey, RegAccess::Read, key) !=
            kErrorSuccess) {
            result.logText += texts.keyMissing;
            continue;
        }
        ScanKey(texts, section, key, result);
        registry_.CloseKey(key);
    }
    return result;
}

void RunKeyScanner::ScanKey(const LogTexts& texts, const ScanSection& section, RegKey key, ScanResult& result) const
{
    RegValue value;
    for (const std::string& name : section.valueNames) {
        if (registry_.ReadNamedValue(key, name, value) == kErrorSuccess)
            JudgeValue(texts, section, value, result);
    }
    if (!section.valueNames.empty())
        return;
    for (unsigned long index = 0;; ++index) {
        const long status = registry_.ReadValue(key, index, value);
        if (status == kErrorMoreData) {
            // Ending the walk here would hide every later value of the key.
            result.logText += FormatText(texts.nameTooLong, {static_cast<int>(index)});
            continue;
        }
        if (status != kErrorSuccess)
            break;
        JudgeValue(texts, section, value, result);
    }
}

void RunKeyScanner::JudgeValue(const LogTexts& texts, const ScanSection& section, const RegValue& value,
                               ScanResult& result) const
{
    std::string& logText = result.logText;
    logText += FormatText(texts.value, {value.name});
    LookedAt looked{result.keys.size() - 1, value.name, value.type, WithoutTerminators(value.data)};
    const std::string& data = looked.data;
    if (const std::string* unjudged = Unjudged(texts, section.rule, value, data)) {
        if (Judges(section.rule, value.type) && value.nameInCodePage && value.dataRead)
            logText += FormatText(texts.data, {data.substr(0, data.find('\0'))});
        logText += *unjudged;
    } else {
        logText += FormatText(texts.data, {data});
        Conclude(texts, section, value, looked, result);
    }
    result.values.push_back(std::move(looked));
}

void RunKeyScanner::Conclude(const LogTexts& texts, const ScanSection& section, const RegValue& value,
                             LookedAt& looked, ScanResult& result) const
{
    std::string newData;
    if (section.rule == CheckRule::Run)
        looked.verdict = checker_.CheckCommandLine(looked.data, newData) ? Verdict::Ok : Verdict::Faulty;
    else
        looked.verdict = checker_.CheckProgramPath(looked.data, newData);
    if (looked.verdict != Verdict::Faulty) {
        result.logText += looked.verdict == Verdict::Ok ? texts.ok : texts.programMissing;
        return;
    }
    looked.finding = static_cast<int>(result.findings.size());
    result.findings.push_back(
        Finding{value.name, looked.data, newData, section.subKey, section.rootName, section.view, value.type});
    const std::string proposal = newData.empty() ? texts.deleteValue : FormatText(texts.newData, {newData});
    result.logText += FormatText(texts.faulty, {proposal});
}

const std::string* RunKeyScanner::Unjudged(const LogTexts& texts, CheckRule rule, const RegValue& value,
                                           const std::string& data) const
{
    if (!Judges(rule, value.type))
        return &texts.notString;
    // A name the code page cannot hold would be written back under another name.
    if (!value.nameInCodePage)
        return &texts.nameNotInCodePage;
    // Judged as empty it would be proposed for deletion, though it may work fine.
    if (!value.dataRead)
        return &texts.unreadable;
    // Judged up to its first NUL, a repair would lose the rest for good.
    if (data.find('\0') != std::string::npos)
        return &texts.moreThanOneString;
    // A character outside the code page would be written back as a best fit or '?'.
    if (!value.dataInCodePage)
        return &texts.notInCodePage;
    return nullptr;
}

}  // namespace stlag
