#include "run_key_scanner.h"

#include <vector>

#include "resource.h"
#include "text_format.h"

namespace stlag {

const RunKeyPath kRunKeyPaths[12] = {
    {"HKEY_CURRENT_USER", "Run", RegistryView::Native},
    {"HKEY_CURRENT_USER", "RunOnce", RegistryView::Native},
    {"HKEY_LOCAL_MACHINE", "Run", RegistryView::Native},
    {"HKEY_LOCAL_MACHINE", "RunOnce", RegistryView::Native},
    {"HKEY_LOCAL_MACHINE", "RunServices", RegistryView::Native},
    {"HKEY_LOCAL_MACHINE", "RunServicesOnce", RegistryView::Native},
    {"HKEY_LOCAL_MACHINE", "RunOnce\\Setup", RegistryView::Native},
    {"HKEY_LOCAL_MACHINE", "Run", RegistryView::Wow64},
    {"HKEY_LOCAL_MACHINE", "RunOnce", RegistryView::Wow64},
    {"HKEY_LOCAL_MACHINE", "RunServices", RegistryView::Wow64},
    {"HKEY_LOCAL_MACHINE", "RunServicesOnce", RegistryView::Wow64},
    {"HKEY_LOCAL_MACHINE", "RunOnce\\Setup", RegistryView::Wow64},
};

// The log's texts, loaded once per scan rather than once per value.
struct RunKeyScanner::LogTexts {
    explicit LogTexts(const Texts& texts)
        : keyHeader(texts.Load(IDS_LOG_KEY_HEADER)), keyHeader32(texts.Load(IDS_LOG_KEY_HEADER_32)),
          keyMissing(texts.Load(IDS_LOG_KEY_MISSING)), value(texts.Load(IDS_LOG_VALUE)), data(texts.Load(IDS_LOG_DATA)),
          notString(texts.Load(IDS_LOG_NOT_STRING)), ok(texts.Load(IDS_LOG_OK)), faulty(texts.Load(IDS_LOG_FAULTY)),
          deleteValue(texts.Load(IDS_LOG_DELETE)), newData(texts.Load(IDS_LOG_NEW_DATA)),
          unreadable(texts.Load(IDS_LOG_UNREADABLE)), notInCodePage(texts.Load(IDS_LOG_NOT_IN_CODEPAGE)),
          nameTooLong(texts.Load(IDS_LOG_NAME_TOO_LONG)), nameNotInCodePage(texts.Load(IDS_LOG_NAME_NOT_IN_CODEPAGE)),
          moreThanOneString(texts.Load(IDS_LOG_MORE_THAN_ONE_STRING))
    {
    }
    std::string keyHeader, keyHeader32, keyMissing, value, data, notString, ok, faulty, deleteValue, newData,
        unreadable, notInCodePage, nameTooLong, nameNotInCodePage, moreThanOneString;
};

ScanResult RunKeyScanner::Scan() const
{
    const LogTexts texts(texts_);
    ScanResult result;
    for (const RunKeyPath& path : kRunKeyPaths) {
        if (!result.logText.empty())
            result.logText += "\r\n\r\n";
        const std::string& header = path.view == RegistryView::Wow64 ? texts.keyHeader32 : texts.keyHeader;
        result.logText += FormatText(header, {path.rootName, path.keyName});
        RegKey key = 0;
        if (registry_.OpenKey(RootFromName(path.rootName), path.view, RunSubKey(path.keyName), RegAccess::Read,
                              key) != kErrorSuccess) {
            result.logText += texts.keyMissing;
            continue;
        }
        ScanKey(texts, path, key, result);
        registry_.CloseKey(key);
    }
    return result;
}

void RunKeyScanner::ScanKey(const LogTexts& texts, const RunKeyPath& path, RegKey key, ScanResult& result) const
{
    RegValue value;
    for (unsigned long index = 0;; ++index) {
        const long status = registry_.ReadValue(key, index, value);
        if (status == kErrorMoreData) {
            // Ending the walk here would hide every later value of the key.
            result.logText += FormatText(texts.nameTooLong, {static_cast<int>(index)});
            continue;
        }
        if (status != kErrorSuccess)
            break;
        JudgeValue(texts, path, value, result);
    }
}

void RunKeyScanner::JudgeValue(const LogTexts& texts, const RunKeyPath& path, const RegValue& value,
                               ScanResult& result) const
{
    std::string& logText = result.logText;
    logText += FormatText(texts.value, {value.name});
    const std::string data = WithoutTerminators(value.data);
    if (const std::string* unjudged = Unjudged(texts, value, data)) {
        if (value.type == kRegSz && value.nameInCodePage && value.dataRead)
            logText += FormatText(texts.data, {data.substr(0, data.find('\0'))});
        logText += *unjudged;
        return;
    }
    logText += FormatText(texts.data, {data});
    std::string newData;
    if (checker_.CheckCommandLine(data, newData)) {
        logText += texts.ok;
        return;
    }
    result.findings.push_back(Finding{value.name, data, newData, path.keyName, path.rootName, path.view});
    const std::string proposal = newData.empty() ? texts.deleteValue : FormatText(texts.newData, {newData});
    logText += FormatText(texts.faulty, {proposal});
}

const std::string* RunKeyScanner::Unjudged(const LogTexts& texts, const RegValue& value, const std::string& data) const
{
    if (value.type != kRegSz)
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
