// stlagc.exe /repair on Wine's real registry, then Wine's own regedit /S of the backup it
// wrote: every value must come back exactly as it was, in a single- and a double-byte code page.
#include <string>
#include <vector>

#include "test_helpers.h"

namespace {

const std::wstring kBase = L"Software\\Microsoft\\Windows\\CurrentVersion\\";

struct Row {
    HKEY root;
    const wchar_t* key;
    const wchar_t* name;
    const wchar_t* old;
    const wchar_t* repaired;  // null: deleted
    REGSAM view = 0;          // KEY_WOW64_32KEY: as 32-bit programs see the machine
};

// The value's bytes as UTF-16, terminator included; a marker when it is missing or no REG_SZ.
std::wstring Get(const Row& row)
{
    HKEY key = nullptr;
    wchar_t data[512] = {};
    DWORD type = 0, size = sizeof data;
    LONG status = RegOpenKeyExW(row.root, (kBase + row.key).c_str(), 0, KEY_READ | row.view, &key);
    if (status == ERROR_SUCCESS)
        status = RegQueryValueExW(key, row.name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ || size % 2 != 0)
        return L"<status " + std::to_wstring(status) + L" type " + std::to_wstring(type) + L">";
    return std::wstring(data, size / sizeof(wchar_t));
}

void Seed(const std::vector<Row>& rows)
{
    for (const Row& row : rows) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(row.root, (kBase + row.key).c_str(), 0, nullptr, 0,
                                                 KEY_WRITE | row.view, nullptr, &key, nullptr));
        const DWORD size = static_cast<DWORD>((wcslen(row.old) + 1) * sizeof(wchar_t));
        EXPECT_EQ(ERROR_SUCCESS,
                  RegSetValueExW(key, row.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(row.old), size));
        RegCloseKey(key);
    }
}

class RoundTrip : public testing::Test {
protected:
    // Every start-up key goes, Wine's own winemenubuilder value in RunServices with it.
    static void Clean()
    {
        HKEY wow = nullptr;
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, kBase.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &wow);
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, wow})
            for (const wchar_t* key : {L"Run", L"RunOnce", L"RunServices", L"RunServicesOnce"})
                RegDeleteTreeW(root, root == wow ? key : (kBase + key).c_str());
        RegCloseKey(wow);
    }
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); DeleteFileW(backup_.c_str()); }

    void RepairAndRestore(const std::vector<Row>& rows, const std::wstring& backup)
    {
        backup_ = backup;
        DeleteFileW(backup.c_str());
        const auto repair = Execute(L"\"" STLAGC_EXE L"\" /repair \"" + backup + L"\"");
        EXPECT_EQ(0, repair.first) << repair.second;
        EXPECT_EQ(0u, repair.second.rfind("Alla problem har lagats!", 0)) << repair.second;
        EXPECT_NE(std::string::npos, repair.second.find(Ansi(backup))) << repair.second;
        for (const Row& row : rows)
            EXPECT_EQ(row.repaired ? row.repaired + std::wstring(1, L'\0') : L"<status 2 type 0>", Get(row))
                << row.name;
        EXPECT_EQ(0, Execute(L"regedit.exe /S \"" + backup + L"\"").first);
        for (const Row& row : rows)
            EXPECT_EQ(row.old + std::wstring(1, L'\0'), Get(row)) << row.name;
    }

    std::wstring backup_;
};

TEST_F(RoundTrip, Cp1252)
{
    ASSERT_EQ(1252u, GetACP());
    const std::wstring folder = L"C:\\Program Files\\Round Trip\\";
    Touch(folder + L"tool.exe");
    Touch(folder + L"åäö.exe");
    const std::vector<Row> rows = {
        {HKEY_CURRENT_USER, L"Run", L"Quoted \"A\"\\B", L"C:\\Program Files\\Round Trip\\tool.exe /o \"x\\y\"",
         L"\"C:\\Program Files\\Round Trip\\tool.exe\" /o \"x\\y\""},
        {HKEY_CURRENT_USER, L"Run", L"åäö", L"C:\\Program Files\\Round Trip\\åäö.exe -ö",
         L"\"C:\\Program Files\\Round Trip\\åäö.exe\" -ö"},
        {HKEY_CURRENT_USER, L"Run", L"Empty", L"", nullptr},
        {HKEY_CURRENT_USER, L"Run", L"", L"C:\\Windows\\notepad.exe\r\n", L"C:\\Windows\\notepad.exe"},
        {HKEY_CURRENT_USER, L"RunOnce", L"Fine", L"\"C:\\Program Files\\Round Trip\\tool.exe\" /x",
         L"\"C:\\Program Files\\Round Trip\\tool.exe\" /x"},
        {HKEY_LOCAL_MACHINE, L"RunOnce\\Setup", L"Setup", L"C:\\Program Files\\Gone Away\\setup.exe /q", nullptr},
        {HKEY_LOCAL_MACHINE, L"Run", L"Old", L"C:\\Program Files\\Round Trip\\tool.exe /w",
         L"\"C:\\Program Files\\Round Trip\\tool.exe\" /w", KEY_WOW64_32KEY},
    };
    Seed(rows);
    const auto log = Execute(L"\"" STLAGC_EXE L"\"");
    EXPECT_EQ(1, log.first);
    EXPECT_NE(std::string::npos, log.second.find("\tV\xE4rde: \xE5\xE4\xF6\r\n")) << log.second;
    RepairAndRestore(rows, folder + L"backup åäö.reg");
}

// 表 is 0x95 0x5C. Its trail byte must not be escaped: regedit drops an unknown escape, so only
// a doubled one before a closing quote shows, as it then escapes the quote.
TEST_F(RoundTrip, Cp932)
{
    ASSERT_EQ(932u, GetACP());
    const std::wstring folder = L"C:\\Program Files\\表 Tool\\";
    Touch(folder + L"x.exe");
    const std::vector<Row> rows = {
        {HKEY_CURRENT_USER, L"Run", L"表", L"C:\\Program Files\\表 Tool\\x.exe /y",
         L"\"C:\\Program Files\\表 Tool\\x.exe\" /y"},
        {HKEY_LOCAL_MACHINE, L"Run", L"Trail", L" C:\\Temp\\表", L"C:\\Temp\\表"},
    };
    Seed(rows);
    RepairAndRestore(rows, folder + L"backup 表.reg");
}

}  // namespace
