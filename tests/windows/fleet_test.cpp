// stlagc /allusers /scope:all on Wine's real registry: a user's hive under HKEY_USERS,
// services and uninstall entries, read back as JSON lines, repaired, and restored by
// Wine's own regedit /S with every value's type.
#include <nlohmann/json.hpp>

#include <set>
#include <string>
#include <vector>

#include "test_helpers.h"

namespace {

// Wine loads the current user's own hive here.
const std::wstring kUser = L"S-1-5-21-0-0-0-1000\\Software\\Microsoft\\Windows\\CurrentVersion\\";
const std::wstring kMachine = L"Software\\Microsoft\\Windows\\CurrentVersion\\";
const std::wstring kService = L"SYSTEM\\CurrentControlSet\\Services\\StlagFleet";
const std::wstring kTool = L"C:\\Program Files\\Fleet Tool\\tool.exe", kGone = L"C:\\Program Files\\Fleet Gone\\x.exe";
const wchar_t kDeleted[] = L"(deleted)";

// The keys as they lie, 32-bit view included; repaired empty: left as it was.
struct Row { HKEY root; std::wstring key; const wchar_t* name; DWORD type; std::wstring old, repaired; };

const std::vector<Row> kRows = {
    {HKEY_USERS, kUser + L"Run", L"FleetRun", REG_SZ, kTool + L" /run", L"\"" + kTool + L"\" /run"},
    {HKEY_USERS, kUser + L"Run", L"FleetGone", REG_SZ, kGone + L" /run", kDeleted},
    {HKEY_LOCAL_MACHINE, kService + L"Quoted", L"ImagePath", REG_SZ, L"\"" + kTool + L"\" -k", L""},
    {HKEY_LOCAL_MACHINE, kService + L"Blank", L"ImagePath", REG_SZ, kTool + L" -k x", L"\"" + kTool + L"\" -k x"},
    {HKEY_LOCAL_MACHINE, kService + L"NoBlank", L"ImagePath", REG_SZ, L"C:\\windows\\system32\\svchost.exe -k x", L""},
    {HKEY_LOCAL_MACHINE, kService + L"Expand", L"ImagePath", REG_EXPAND_SZ, L"%ProgramFiles%\\Fleet Tool\\tool.exe /s",
     L"\"%ProgramFiles%\\Fleet Tool\\tool.exe\" /s"},
    {HKEY_LOCAL_MACHINE, kService + L"Missing", L"ImagePath", REG_SZ, kGone + L" -k", L""},
    {HKEY_LOCAL_MACHINE, kService + L"Kernel", L"ImagePath", REG_EXPAND_SZ, L"\\??\\" + kTool + L" -k", L""},
    {HKEY_LOCAL_MACHINE, kMachine + L"Uninstall\\StlagFleet", L"UninstallString", REG_SZ, kTool + L" /u",
     L"\"" + kTool + L"\" /u"},
    {HKEY_LOCAL_MACHINE, L"Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\StlagFleet",
     L"QuietUninstallString", REG_SZ, kTool + L" /q", L"\"" + kTool + L"\" /q"},
    {HKEY_USERS, kUser + L"Uninstall\\StlagFleet", L"UninstallString", REG_EXPAND_SZ, kTool + L" /x",
     L"\"" + kTool + L"\" /x"},
};

// As the log and the JSON lines name it.
std::string PathOf(const Row& row)
{
    return Ansi((row.root == HKEY_USERS ? L"HKEY_USERS\\" : L"HKEY_LOCAL_MACHINE\\") + row.key + L"\\" + row.name);
}

// "type:text" as stored, or kDeleted.
std::wstring Stored(const Row& row, const std::wstring& text)
{
    return text == kDeleted ? text : std::to_wstring(row.type) + L":" + text;
}

std::wstring Get(const Row& row)
{
    wchar_t data[512] = {};
    DWORD type = 0, size = sizeof data;
    const LONG status =
        RegGetValueW(row.root, row.key.c_str(), row.name, RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size);
    return status == ERROR_SUCCESS ? std::to_wstring(type) + L":" + data : kDeleted;
}

class Fleet : public testing::Test {
protected:
    // Only what the test made goes: Wine's own services and start-up values stay.
    static void Clean()
    {
        for (const Row& row : kRows) {
            RegDeleteKeyValueW(row.root, row.key.c_str(), row.name);
            if (row.key.find(L"StlagFleet") != std::wstring::npos)
                RegDeleteKeyW(row.root, row.key.c_str());
        }
    }
    void SetUp() override
    {
        Clean();
        Touch(kTool);
        for (const Row& row : kRows)
            ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(row.root, row.key.c_str(), row.name, row.type, row.old.c_str(),
                                                     static_cast<DWORD>((row.old.size() + 1) * sizeof(wchar_t))));
    }
    void TearDown() override { Clean(); DeleteFileW(kBackup.c_str()); }

    const std::wstring kBackup = L"C:\\ProgramData\\Startlagaren fleet.reg";
};

TEST_F(Fleet, ScanJsonRepairRestore)
{
    const auto scan = Execute(L"\"" STLAGC_EXE L"\" /allusers /scope:all /json");
    EXPECT_EQ(1, scan.first);
    std::set<std::string> named, faulty, expected;
    nlohmann::json last;
    for (std::size_t at = 0, end; (end = scan.second.find('\n', at)) != std::string::npos; at = end + 1) {
        last = nlohmann::json::parse(scan.second.substr(at, end - at));  // throws on a line that is no JSON
        if (last.contains("summary"))
            continue;
        const std::string path = last["key"].get<std::string>() + "\\" + last["name"].get<std::string>();
        named.insert(path);
        if (last["verdict"] == "change" || last["verdict"] == "delete")
            faulty.insert(path);
    }
    for (const Row& row : kRows) {
        EXPECT_EQ(1u, named.count(PathOf(row))) << PathOf(row);
        if (!row.repaired.empty())
            expected.insert(PathOf(row));
    }
    EXPECT_EQ(expected, faulty);
    EXPECT_EQ(true, last["summary"]);
    EXPECT_EQ(expected.size(), last["faulty"].get<std::size_t>());
    EXPECT_EQ(named.size(), last["looked_at"].get<std::size_t>());

    const auto repair = Execute(L"\"" STLAGC_EXE L"\" /allusers /scope:all /repair \"" + kBackup + L"\"");
    EXPECT_EQ(0, repair.first) << repair.second;
    const std::string lastLine = repair.second.substr(repair.second.rfind("\r\n", repair.second.size() - 3) + 2);
    EXPECT_EQ(0u, lastLine.find("Summering: ")) << lastLine;
    EXPECT_NE(std::string::npos, lastLine.find(Ansi(kBackup))) << lastLine;
    for (const Row& row : kRows)
        EXPECT_EQ(Stored(row, row.repaired.empty() ? row.old : row.repaired), Get(row)) << row.name;
    EXPECT_EQ(0, Execute(L"regedit.exe /S \"" + kBackup + L"\"").first);
    for (const Row& row : kRows)
        EXPECT_EQ(Stored(row, row.old), Get(row)) << row.name;
}

}  // namespace
