#include "run_key_scanner.h"

#include <vector>

#include "resource.h"
#include "text_format.h"

namespace stlag {

const RunKeyPath kRunKeyPaths[7] = {
    {"HKEY_CURRENT_USER", "Run"},
    {"HKEY_CURRENT_USER", "RunOnce"},
    {"HKEY_LOCAL_MACHINE", "Run"},
    {"HKEY_LOCAL_MACHINE", "RunOnce"},
    {"HKEY_LOCAL_MACHINE", "RunServices"},
    {"HKEY_LOCAL_MACHINE", "RunServicesOnce"},
    {"HKEY_LOCAL_MACHINE", "RunOnce\\Setup"},
};

// The log's texts, loaded once per scan rather than once per value.
struct RunKeyScanner::LogTexts {
    explicit LogTexts(const Texts& texts)
        : keyHeader(texts.Load(IDS_LOG_KEY_HEADER)), keyMissing(texts.Load(IDS_LOG_KEY_MISSING)),
          value(texts.Load(IDS_LOG_VALUE)), data(texts.Load(IDS_LOG_DATA)), notString(texts.Load(IDS_LOG_NOT_STRING)),
          ok(texts.Load(IDS_LOG_OK)), faulty(texts.Load(IDS_LOG_FAULTY)), deleteValue(texts.Load(IDS_LOG_DELETE)),
          newData(texts.Load(IDS_LOG_NEW_DATA)), unreadable(texts.Load(IDS_LOG_UNREADABLE)),
          notInCodePage(texts.Load(IDS_LOG_NOT_IN_CODEPAGE)), nameTooLong(texts.Load(IDS_LOG_NAME_TOO_LONG))
    {
    }
    std::string keyHeader, keyMissing, value, data, notString, ok, faulty, deleteValue, newData, unreadable,
        notInCodePage, nameTooLong;
};

ScanResult RunKeyScanner::Scan() const
{
    const LogTexts texts(texts_);
    ScanResult result;
    std::string& logText = result.logText;
    for (const RunKeyPath& path : kRunKeyPaths) {
        if (!logText.empty())
            logText += "\r\n\r\n";
        logText += FormatText(texts.keyHeader, {path.rootName, path.keyName});
        RegKey key = 0;
        if (registry_.OpenKey(RootFromName(path.rootName), RunSubKey(path.keyName), RegAccess::Read, key) !=
            kErrorSuccess) {
            logText += texts.keyMissing;
            continue;
        }
        ScanKey(texts, path, key, result.findings, logText);
        registry_.CloseKey(key);
    }
    return result;
}

void RunKeyScanner::ScanKey(const LogTexts& texts, const RunKeyPath& path, RegKey key,
                            FindingList& findings, std::string& logText) const
{
    for (unsigned long index = 0;; ++index) {
        std::string name;
        unsigned long type = kRegSz;
        const long status = registry_.EnumValue(key, index, kValueNameBufferSize, name, type);
        if (status == kErrorMoreData) {
            // Ending the walk here would hide every later value of the key.
            logText += FormatText(texts.nameTooLong, {static_cast<int>(index)});
            continue;
        }
        if (status != kErrorSuccess)
            break;
        logText += FormatText(texts.value, {name});
        if (type != kRegSz) {
            logText += texts.notString;
            continue;
        }
        JudgeValue(texts, path, key, name, findings, logText);
    }
}

void RunKeyScanner::JudgeValue(const LogTexts& texts, const RunKeyPath& path, RegKey key,
                               const std::string& name, FindingList& findings, std::string& logText) const
{
    std::string data;
    if (!ReadStringData(key, name, data)) {
        // Judged as empty it would be proposed for deletion, though it may work fine.
        logText += texts.unreadable;
        return;
    }
    logText += FormatText(texts.data, {data});

    // The ANSI functions hand back a best-fit or '?' for characters outside the code page;
    // a repair would write that back over a working value.
    std::u16string wide;
    if (registry_.QueryValueWide(key, name, wide) != kErrorSuccess || wide != codePage_.ToWide(data)) {
        logText += texts.notInCodePage;
        return;
    }

    std::string newData;
    if (checker_.CheckCommandLine(data, newData)) {
        logText += texts.ok;
        return;
    }
    findings.push_back(Finding{name, data, newData, path.keyName, path.rootName});
    const std::string proposal =
        newData.empty() ? texts.deleteValue : FormatText(texts.newData, {newData});
    logText += FormatText(texts.faulty, {proposal});
}

bool RunKeyScanner::ReadStringData(RegKey key, const std::string& name, std::string& data) const
{
    unsigned long type = kRegSz;
    unsigned long size = 0;
    if (registry_.QueryValue(key, name, type, nullptr, size) != kErrorSuccess)
        return false;
    // One byte more than reported, for a terminator the registry may not have stored.
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
    unsigned long read = size + 1;
    if (registry_.QueryValue(key, name, type, buffer.data(), read) != kErrorSuccess || type != kRegSz)
        return false;
    std::size_t length = 0;
    while (length < read && buffer[length] != '\0')
        ++length;
    data.assign(buffer.data(), length);
    return true;
}

}  // namespace stlag
