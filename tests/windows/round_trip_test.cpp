// stlagc.exe /repair on Wine's real registry, then Wine's own regedit /S of the backup it
// wrote: every value must come back exactly as it was, in a single- and a double-byte code page.
#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "test_helpers.h"

namespace {

// repaired empty: deleted; view KEY_WOW64_32KEY: as 32-bit programs see the machine.
struct Row { HKEY root; std::wstring key, name, old, repaired; REGSAM view = 0; };

// The row's key, made if it is missing: its value then reads as missing all the same.
std::unique_ptr<std::remove_pointer_t<HKEY>, decltype(&RegCloseKey)> Open(const Row& row)
{
    HKEY key = nullptr;
    RegCreateKeyExW(row.root, (kRunBase + row.key).c_str(), 0, {}, 0, KEY_ALL_ACCESS | row.view, {}, &key, {});
    return {key, RegCloseKey};
}

// The value's bytes as UTF-16, terminator included; a marker when it is missing or no REG_SZ.
std::wstring Get(const Row& row)
{
    wchar_t data[4096] = {};
    DWORD type = 0, size = sizeof data;
    const LONG status = RegQueryValueExW(Open(row).get(), row.name.c_str(), nullptr, &type, LPBYTE(data), &size);
    return status == ERROR_SUCCESS && type == REG_SZ && size % 2 == 0 ? std::wstring(data, size / 2)
           : L"<status " + std::to_wstring(status) + L" type " + std::to_wstring(type) + L">";
}

struct RoundTrip : testing::Test {
    void SetUp() override { DeleteStartupKeys(); }
    void TearDown() override { DeleteStartupKeys(); }

    // The rows' old data goes in, stlagc repairs it into backup (ansiName as the console
    // shows its name), regedit puts it back.
    static void RepairAndRestore(const std::vector<Row>& rows, const std::wstring& backup, const char* ansiName)
    {
        for (const Row& row : rows)
            EXPECT_EQ(ERROR_SUCCESS, RegSetKeyValueW(Open(row).get(), nullptr, row.name.c_str(), REG_SZ, row.old.c_str(),
                                                     (row.old.size() + 1) * sizeof(wchar_t)));
        DeleteFileW(backup.c_str());
        const auto repair = Execute(L"\"" STLAGC_EXE L"\" /repair \"" + backup + L"\"");
        EXPECT_EQ(0, repair.first) << repair.second;
        EXPECT_NE(std::string::npos, repair.second.find(ansiName)) << repair.second;
        for (const Row& row : rows)
            EXPECT_EQ(row.repaired.empty() ? L"<status 2 type 0>" : row.repaired + L'\0', Get(row)) << row.name;
        EXPECT_EQ(0, Execute(L"regedit.exe /S \"" + backup + L"\"").first);
        for (const Row& row : rows)
            EXPECT_EQ(row.old + L'\0', Get(row)) << row.name;
    }
};

TEST_F(RoundTrip, Cp1252)
{
    ASSERT_EQ(1252u, GetACP());
    const std::wstring folder = L"C:\\Program Files\\Round Trip\\", tool = folder + L"tool.exe", swedish = folder + L"åäö.exe";
    Touch(tool);
    Touch(swedish);
    const HKEY user = HKEY_CURRENT_USER, machine = HKEY_LOCAL_MACHINE;
    RepairAndRestore({{user, L"Run", L"Quoted \"A\"\\B", tool + L" /o \"x\\y\"", L'"' + tool + L"\" /o \"x\\y\""},
                      {user, L"Run", L"åäö", swedish + L" -ö", L'"' + swedish + L"\" -ö"},
                      {user, L"Run", L"Empty", L"", L""},
                      {user, L"Run", L"", L"C:\\Windows\\notepad.exe\r\n", L"C:\\Windows\\notepad.exe"},
                      // Longer than the scan's first read buffer, so only a read grown to fit judges it.
                      {user, L"RunOnce", L"Long", tool + L" /" + std::wstring(1500, L'x'),
                       L'"' + tool + L"\" /" + std::wstring(1500, L'x')},
                      {machine, L"RunOnce\\Setup", L"Setup", L"C:\\Program Files\\Gone Away\\setup.exe /q", L""},
                      {machine, L"Run", L"Old", tool + L" /w", L'"' + tool + L"\" /w", KEY_WOW64_32KEY}},
                     // Named whole, and shown in the code page, which has no Ω.
                     folder + L"backup åäö Ω.reg", "C:\\Program Files\\Round Trip\\backup \xE5\xE4\xF6 ?.reg");
    // Back as they were, the values are logged byte for byte in the code page, in the user's hive
    // by its SID, as the backup names it too, so that an undo writes it there whoever runs it.
    const auto log = Execute(L"\"" STLAGC_EXE L"\"");
    EXPECT_EQ(1, log.first);
    EXPECT_NE(std::string::npos, log.second.find("\tV\xE4rde: \xE5\xE4\xF6\r\n")) << log.second;
    EXPECT_NE(std::string::npos, log.second.find("\xF6kv\xE4g: HKEY_USERS\\S-1-5-21-0-0-0-1000\\Software\\Microsoft\\Windows\\"
                                                 "CurrentVersion\\Run\r\n")) << log.second;
}

// 表 is 0x95 0x5C. Its trail byte must not be escaped: regedit drops an unknown escape, so only
// a doubled one before a closing quote shows, as it then escapes the quote.
TEST_F(RoundTrip, Cp932)
{
    ASSERT_EQ(932u, GetACP());
    const std::wstring folder = L"C:\\Program Files\\表 Tool\\", tool = folder + L"x.exe";
    Touch(tool);
    RepairAndRestore({{HKEY_CURRENT_USER, L"Run", L"表", tool + L" /y", L'"' + tool + L"\" /y"},
                      {HKEY_LOCAL_MACHINE, L"Run", L"Trail", L" C:\\Temp\\表", L"C:\\Temp\\表"}},
                     folder + L"backup 表.reg", "C:\\Program Files\\\x95\x5C Tool\\backup \x95\x5C.reg");
}

}  // namespace
