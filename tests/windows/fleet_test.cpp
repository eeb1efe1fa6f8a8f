// stlagc /allusers /scope:all on Wine's real registry: a user's hive under HKEY_USERS,
// services and uninstall entries, read back as JSON lines, repaired, and restored by
// Wine's own regedit /S with every value's type. Then the backup's home: Wine runs programs
// elevated, and keeps of a file's security descriptor only what Unix mode bits hold, so the
// descriptor handed to CreateFile is read where it is built as well. Nor does Wine keep an
// owner: every folder is its one user's, the elevated run's own user too, whose non-elevated
// programs may rename C:\ProgramData. So elevated, stlagc rightly keeps no backup below it
// under Wine, and the remediation's form is repaired with Wine's non-elevated token.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include <aclapi.h>
#include <sddl.h>

#include "backup_home.h"
#include "test_helpers.h"

namespace {

// Wine loads the current user's own hive here.
const std::wstring kUser = L"S-1-5-21-0-0-0-1000\\Software\\", kVersion = L"Microsoft\\Windows\\CurrentVersion\\";
const std::wstring kUninstall = kVersion + L"Uninstall\\StlagFleet";
const std::wstring kService = L"SYSTEM\\CurrentControlSet\\Services\\StlagFleet";
const std::wstring kPolicyRun = kVersion + L"Policies\\Explorer\\Run";
const std::wstring kWinlogon = L"Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const std::wstring kSetup = L"Microsoft\\Active Setup\\Installed Components\\StlagFleet";
const std::wstring kTool = L"C:\\Program Files\\Fleet Tool\\tool.exe";
const std::wstring kFleetHome = L"C:\\ProgramData\\Startlagaren";
const HKEY kUsers = HKEY_USERS, kMachine = HKEY_LOCAL_MACHINE;

// Wine's non-elevated token of this user, for a program to run with; closed when the tests end.
HANDLE NonElevatedToken()
{
    HANDLE own = nullptr, primary = nullptr;
    TOKEN_LINKED_TOKEN linked = {};
    DWORD size = 0;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own);
    GetTokenInformation(own, TokenLinkedToken, &linked, sizeof linked, &size);
    DuplicateTokenEx(linked.LinkedToken, TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, TokenPrimary, &primary);
    CloseHandle(linked.LinkedToken), CloseHandle(own);
    return primary;
}

std::wstring Quoted(const std::wstring& arguments) { return L"\"" + kTool + L"\"" + arguments; }

// The keys as they lie, 32-bit view included, with the scan's verdict; repaired empty: left as it
// was; kGone: deleted.
const std::wstring kGone = L"(deleted)";
struct Row { HKEY root; std::wstring key, name; DWORD type; const char* verdict; std::wstring old, repaired; };

const std::vector<Row> kRows = {
    {kUsers, kUser + kVersion + L"Run", L"FleetRun", REG_SZ, "change", kTool + L" /run", Quoted(L" /run")},
    {kMachine, kService + L"Quoted", L"ImagePath", REG_SZ, "ok", Quoted(L" -k"), L""},
    {kMachine, kService + L"NoBlank", L"ImagePath", REG_SZ, "ok", L"C:\\windows\\system32\\svchost.exe -k x", L""},
    {kMachine, kService + L"Expand", L"ImagePath", REG_EXPAND_SZ, "change",
     L"%ProgramFiles%\\Fleet Tool\\tool.exe /s", L"\"%ProgramFiles%\\Fleet Tool\\tool.exe\" /s"},
    {kMachine, kService + L"Missing", L"ImagePath", REG_SZ, "program-missing", L"C:\\Gone Dir\\x.exe -k", L""},
    {kMachine, kService + L"Kernel", L"ImagePath", REG_EXPAND_SZ, "ok", L"\\??\\" + kTool + L" -k", L""},
    {kMachine, L"Software\\" + kUninstall, L"QuietUninstallString", REG_SZ, "change", kTool, Quoted(L"")},
    {kMachine, L"Software\\WOW6432Node\\" + kUninstall, L"UninstallString", REG_SZ, "change", kTool, Quoted(L"")},
    {kUsers, kUser + kUninstall, L"UninstallString", REG_EXPAND_SZ, "change", kTool + L" /x", Quoted(L" /x")},
    {kUsers, kUser + kPolicyRun, L"FleetPolicy", REG_SZ, "change", kTool + L" /p", Quoted(L" /p")},
    {kMachine, L"Software\\" + kPolicyRun, L"FleetPolicy", REG_EXPAND_SZ, "change",
     L"%ProgramFiles%\\Fleet Tool\\tool.exe /p", L"\"%ProgramFiles%\\Fleet Tool\\tool.exe\" /p"},
    {kUsers, kUser + kWinlogon, L"Shell", REG_SZ, "change", kTool, Quoted(L"")},
    {kMachine, L"Software\\" + kWinlogon, L"Userinit", REG_SZ, "change-by-hand",
     L"C:\\windows\\system32\\userinit.exe," + kTool + L",", L""},
    {kMachine, L"Software\\" + kSetup, L"StubPath", REG_SZ, "change", kTool + L" /i", Quoted(L" /i")},
    {kMachine, L"Software\\WOW6432Node\\" + kSetup, L"StubPath", REG_EXPAND_SZ, "change", kTool, Quoted(L"")},
    // What a user may write to steer SYSTEM: a key name that would write sections of its own into
    // the backup, a share, a drive SYSTEM has not mapped. None is judged; a program missing from a
    // folder on a local disk still goes.
    {kUsers, kUser + kUninstall + L"\r\n\r\n[HKEY_CURRENT_USER]\r\n\"Injected\"=\"yes\"\r\n\r\n[HKEY_USERS",
     L"UninstallString", REG_SZ, "not-judged", kTool + L" /S", L""},
    {kUsers, kUser + kVersion + L"Run", L"FleetShare", REG_SZ, "not-judged", L"\\\\127.0.0.1\\share\\My App\\a.exe /x", L""},
    {kUsers, kUser + kVersion + L"Run", L"FleetDrive", REG_SZ, "not-judged", L"R:\\Program Files\\Tool\\t.exe /x", L""},
    {kUsers, kUser + kVersion + L"Run", L"FleetGone", REG_SZ, "delete", L"C:\\Program Files\\Fleet Tool\\gone.exe", kGone},
};

// As the log and the JSON lines name it.
std::string PathOf(const Row& row)
{
    return Ansi((row.root == kUsers ? L"HKEY_USERS\\" : L"HKEY_LOCAL_MACHINE\\") + row.key + L"\\" + row.name);
}

// Type and text as stored; nothing when the value is gone.
std::pair<DWORD, std::wstring> Get(const Row& row)
{
    wchar_t data[512] = {};
    DWORD type = 0, size = sizeof data;
    if (RegGetValueW(row.root, row.key.c_str(), row.name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size))
        return {};
    return {type, data};
}

void Put(const Row& row)
{
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(row.root, row.key.c_str(), row.name.c_str(), row.type, row.old.c_str(),
                                             DWORD((row.old.size() + 1) * sizeof(wchar_t))));
}

// Only what the test made goes: Wine's own services and start-up values stay.
struct Fleet : testing::Test {
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        for (const Row& row : kRows)  // a key of the test's own goes whole
            row.key.find(L"StlagFleet") != std::wstring::npos ? RegDeleteKeyW(row.root, row.key.c_str())
                                                              : RegDeleteKeyValueW(row.root, row.key.c_str(), row.name.c_str());
        std::filesystem::remove_all(kFleetHome);
    }
};

TEST_F(Fleet, ScanJsonRepairRestore)
{
    Touch(kTool);
    for (const Row& row : kRows)
        Put(row);
    const auto scan = Execute(L"\"" STLAGC_EXE L"\" /allusers /scope:all /json");
    EXPECT_EQ(1, scan.first);
    std::map<std::string, std::string> verdicts;  // by PathOf
    nlohmann::json last;
    for (std::size_t at = 0, end; (end = scan.second.find('\n', at)) != std::string::npos; at = end + 1) {
        last = nlohmann::json::parse(scan.second.substr(at, end - at));  // throws on a line that is no JSON
        if (!last.contains("summary"))
            verdicts[last["key"].get<std::string>() + "\\" + last["name"].get<std::string>()] = last["verdict"];
    }
    EXPECT_EQ(true, last["summary"]);
    EXPECT_EQ(verdicts.size(), last["looked_at"].get<std::size_t>());
    for (const Row& row : kRows)
        EXPECT_EQ(row.verdict, verdicts[PathOf(row)]) << PathOf(row);
    // None of Wine's own values is faulty; Userinit is, but for a person to change.
    EXPECT_EQ(std::count_if(kRows.begin(), kRows.end(), [](const Row& row) { return !row.repaired.empty(); }) + 1,
              last["faulty"].get<std::ptrdiff_t>());

    // The remediation's own form: the folder made, the file named by stlagc after the time.
    const auto repair = Execute(L"\"" STLAGC_EXE L"\" /allusers /scope:all /repair \"" + kFleetHome + L"\\\"", NonElevatedToken());
    EXPECT_EQ(1, repair.first) << repair.second;  // Userinit is left
    ASSERT_EQ(1, std::distance(std::filesystem::directory_iterator(kFleetHome), {}));
    const std::wstring backup = std::filesystem::directory_iterator(kFleetHome)->path().wstring();
    EXPECT_TRUE(std::regex_search(Ansi(backup), std::regex("\\\\stlagc \\d{4}-\\d\\d-\\d\\d \\d{6}\\.reg$")));
    const std::string lastLine = repair.second.substr(repair.second.rfind("\r\n", repair.second.size() - 3) + 2);
    EXPECT_EQ(0u, lastLine.find("Summering: ")) << lastLine;
    EXPECT_NE(std::string::npos, lastLine.find(Ansi(backup))) << lastLine;
    for (const Row& row : kRows) {
        const std::pair<DWORD, std::wstring> left(row.type, row.repaired.empty() ? row.old : row.repaired);
        EXPECT_EQ(row.repaired == kGone ? std::make_pair(0ul, std::wstring()) : left, Get(row)) << row.name;
    }
    EXPECT_EQ(0, Execute(L"regedit.exe /S \"" + backup + L"\"").first);
    for (const Row& row : kRows)
        EXPECT_EQ(std::make_pair(row.type, row.old), Get(row)) << row.name;
    EXPECT_NE(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, nullptr, L"Injected", RRF_RT_ANY, nullptr, nullptr, nullptr));
}

const char kSystem[] = "S-1-5-18", kAdmins[] = "S-1-5-32-544", kWineUser[] = "S-1-5-21-0-0-0-1000";

// Each grant's account, and its rights when they are not full control.
std::vector<std::string> Grants(const stlag::FolderFacts& facts)
{
    std::vector<std::string> grants;
    for (const stlag::AccessGrant& grant : facts.grants)
        grants.push_back(grant.sid + (grant.mask == FILE_ALL_ACCESS ? "" : " " + std::to_string(grant.mask)));
    return grants;
}

TEST(BackupDescriptor, ProtectedForAdministrators)
{
    using stlag::BackupAccess;
    const struct { BackupAccess access; bool folder; std::string owner; std::vector<std::string> grants; } cases[] = {
        {BackupAccess::AdministratorsOnly, false, "", {kSystem, kAdmins}},
        {BackupAccess::AlsoTheUser, false, "", {kSystem, kAdmins, kWineUser}},
        {BackupAccess::AdministratorsOnly, true, kAdmins, {kSystem, kAdmins}},
    };
    for (const auto& c : cases) {
        std::vector<unsigned char> descriptor = stlag::ProtectedDescriptor(c.access, c.folder);
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        ASSERT_TRUE(GetSecurityDescriptorControl(descriptor.data(), &control, &revision));
        EXPECT_TRUE(control & SE_DACL_PROTECTED);  // nothing inherited from the folder above
        const stlag::FolderFacts facts = stlag::DescriptorFacts(descriptor.data());
        EXPECT_EQ(c.grants, Grants(facts));
        EXPECT_EQ(c.owner, facts.ownerSid);
        EXPECT_TRUE(!c.folder || stlag::FolderRefusal(facts) == 0) << "a folder of stlagc's own making is refused";
    }
    // C:\ as Windows sets it up, read as stlagc reads a folder above its own: the Modify it only
    // hands down gives no right on it, even were it no drive's root.
    PSECURITY_DESCRIPTOR root = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(L"O:S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"
        L"D:PAI(A;;LC;;;AU)(A;OICIIO;SDGXGWGR;;;AU)(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)", 1, &root, {});
    EXPECT_EQ(0u, stlag::AncestorRefusal(stlag::DescriptorFacts(root), false));
    LocalFree(root);
}

// Elevated, exit 2 and nothing changed for a folder that Everyone may add files to, for a
// folder below it, whose folders above (Wine's C:\ first) others may swap, and for a file
// that exists. A file asked for by name lies where an administrator chose; it alone is
// made, readable by administrators only, and a value whose name no backup can record is
// left, so the exit is 1.
TEST_F(Fleet, BackupHomeIsRefusedOrMade)
{
    const Row& row = kRows[0];
    Row broken = row;
    broken.name = L"Line\r\nBreak";
    Touch(kTool);
    Put(row);
    Put(broken);
    PSECURITY_DESCRIPTOR everyone = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;WD)", SDDL_REVISION_1,
                                                         &everyone, nullptr);
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, everyone, FALSE};
    ASSERT_TRUE(CreateDirectoryW(kFleetHome.c_str(), &attributes));
    LocalFree(everyone);
    const std::wstring mine = kFleetHome + L"\\mine.reg";
    std::ofstream(std::filesystem::path(mine)) << "mine";
    const std::pair<std::wstring, std::wstring> refused[] = {  // argument, a piece of the message
        {kFleetHome + L"\\", kFleetHome}, {kFleetHome + L"\\below\\", L"mappen C:\\ ovanför den"}, {mine, L"finns redan"}};
    for (const auto& c : refused) {
        const auto repair = Execute(L"\"" STLAGC_EXE L"\" /repair \"" + c.first + L"\"");
        EXPECT_EQ(2, repair.first) << repair.second;
        EXPECT_NE(std::string::npos, repair.second.find(Ansi(c.second))) << repair.second;
        EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(kFleetHome), {})) << Ansi(c.first);
    }
    EXPECT_EQ(std::make_pair(row.type, row.old), Get(row));
    EXPECT_EQ(4u, std::filesystem::file_size(mine));  // "mine", not overwritten

    const std::wstring backup = kFleetHome + L"\\chosen.reg";
    const auto repair = Execute(L"\"" STLAGC_EXE L"\" /repair \"" + backup + L"\"");
    EXPECT_EQ(1, repair.first) << repair.second;
    EXPECT_EQ(std::make_pair(broken.type, broken.old), Get(broken));
    RegDeleteKeyValueW(broken.root, broken.key.c_str(), broken.name.c_str());
    // Wine's user stands in for the owner that mode bits keep; Everyone would be "others".
    PSECURITY_DESCRIPTOR read = nullptr;
    GetNamedSecurityInfoW(backup.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, {}, {}, {}, {}, &read);
    EXPECT_EQ((std::vector<std::string>{kSystem, kWineUser}), Grants(stlag::DescriptorFacts(read)));
    LocalFree(read);
}

}  // namespace
