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
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include <aclapi.h>
#include <sddl.h>
#include <winternl.h>

#include "backup_home.h"
#include "test_helpers.h"

// The native calls take counted names, so that a user may give a value or a key a name with a
// NUL in it, which no Win32 call can write, read or delete.
extern "C" {
NTSTATUS NTAPI NtSetValueKey(HANDLE, PUNICODE_STRING, ULONG, ULONG, const void*, ULONG);
NTSTATUS NTAPI NtQueryValueKey(HANDLE, PUNICODE_STRING, int, void*, ULONG, PULONG);
NTSTATUS NTAPI NtDeleteValueKey(HANDLE, PUNICODE_STRING);
NTSTATUS NTAPI NtCreateKey(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, ULONG, PUNICODE_STRING, ULONG, PULONG);
NTSTATUS NTAPI NtDeleteKey(HANDLE);
}

namespace {

UNICODE_STRING Counted(const std::wstring& name)
{
    const auto bytes = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    return {bytes, bytes, const_cast<wchar_t*>(name.data())};
}

// Wine loads the current user's own hive here.
const std::wstring kUser = L"S-1-5-21-0-0-0-1000\\Software\\", kVersion = L"Microsoft\\Windows\\CurrentVersion\\";
const std::wstring kUninstall = kVersion + L"Uninstall\\StlagFleet";
const std::wstring kService = L"SYSTEM\\CurrentControlSet\\Services\\StlagFleet";
const std::wstring kPolicyRun = kVersion + L"Policies\\Explorer\\Run";
const std::wstring kWinlogon = L"Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const std::wstring kSetup = L"Microsoft\\Active Setup\\Installed Components\\StlagFleet";
const std::wstring kTool = L"C:\\Program Files\\Fleet Tool\\tool.exe";
const std::wstring kFleetHome = L"C:\\ProgramData\\Startlagaren";
const std::wstring kContoso = L"C:\\Program Files\\Contoso.com Agent\\start.cmd", kNode = L"C:\\Program Files\\Node.js Tools\\x.lnk";
// Another account's hive, as /allusers finds it loaded beside Wine's own user.
const std::wstring kOther = L"S-1-5-21-1-2-3-1001";
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
    {kMachine, L"Software\\" + kUninstall + std::wstring(230, L'n'), L"UninstallString", REG_SZ, "change", kTool, Quoted(L"")},
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
    // A folder's extension ends no program; another account's variables are not SYSTEM's; a name
    // cut at its NUL would steer the repair to its namesake.
    {kUsers, kUser + kVersion + L"Run", L"FleetContoso", REG_SZ, "change", kContoso + L" /q", L'"' + kContoso + L"\" /q"},
    {kUsers, kUser + kVersion + L"Run", L"FleetNode", REG_SZ, "change", kNode, L'"' + kNode + L'"'},
    {kUsers, kOther + L"\\Software\\" + kVersion + L"Run", L"FleetOther", REG_SZ, "change", kTool + L" /o", Quoted(L" /o")},
    {kUsers, kOther + L"\\Software\\" + kVersion + L"Run", L"FleetVendor", REG_EXPAND_SZ, "not-judged",
     L"%LOCALAPPDATA%\\Programs\\Vendor App\\app.exe --hidden", L""},
    {kUsers, kUser + kVersion + L"Run", std::wstring(L"Twin\0x", 6), REG_SZ, "not-judged", kTool + L" /t", L""},
    {kUsers, kUser + kVersion + L"Run", L"Twin", REG_SZ, "change", kTool + L" /t", Quoted(L" /t")},
    // JSON names it whole, though the code page lacks its letter.
    {kUsers, kUser + kVersion + L"Run", L"Fleet\u03A9", REG_SZ, "not-judged", kTool + L" /\u03A9", L""},
};

// As the JSON lines name it, in UTF-8.
std::string PathOf(const Row& row)
{
    const std::wstring path = (row.root == kUsers ? L"HKEY_USERS\\" : L"HKEY_LOCAL_MACHINE\\") + row.key + L"\\" + row.name;
    std::string utf8(path.size() * 3, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, path.data(), int(path.size()), &utf8[0], int(utf8.size()), nullptr, nullptr));
    return utf8;
}

// The key of a row whose last part may hold a NUL: opened by counted name, made when missing.
HANDLE Key(HKEY root, const std::wstring& path)
{
    HKEY parent = nullptr;
    RegCreateKeyExW(root, path.substr(0, path.rfind(L'\\')).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &parent, nullptr);
    const std::wstring last = path.substr(path.rfind(L'\\') + 1);
    UNICODE_STRING name = Counted(last);
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE, parent, nullptr);
    HANDLE key = nullptr;
    NtCreateKey(&key, KEY_ALL_ACCESS, &attributes, 0, nullptr, 0, nullptr);
    RegCloseKey(parent);
    return key;
}

// Type and text as stored; nothing when the value is gone.
std::pair<DWORD, std::wstring> Get(const Row& row)
{
    const HANDLE key = Key(row.root, row.key);
    std::vector<ULONG> info(16384);  // KEY_VALUE_PARTIAL_INFORMATION: index, type, size, data
    UNICODE_STRING name = Counted(row.name);
    ULONG size = 0;
    const bool read = NtQueryValueKey(key, &name, 2, info.data(), ULONG(info.size() * sizeof(ULONG)), &size) == 0;
    CloseHandle(key);
    return read ? std::make_pair(info[1], std::wstring(reinterpret_cast<const wchar_t*>(&info[3]))) : std::make_pair(0ul, std::wstring());
}

// Set, or deleted with a null text; a key of the test's own goes whole.
void Put(const Row& row, const std::wstring* text)
{
    const HANDLE key = Key(row.root, row.key);
    UNICODE_STRING name = Counted(row.name);
    if (text)
        NtSetValueKey(key, &name, 0, row.type, text->c_str(), DWORD((text->size() + 1) * sizeof(wchar_t)));
    else
        row.key.find(L"StlagFleet") != std::wstring::npos ? NtDeleteKey(key) : NtDeleteValueKey(key, &name);
    CloseHandle(key);
}

// Only what the test made goes: Wine's own services and start-up values stay.
struct Fleet : testing::Test {
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        for (const Row& row : kRows)
            Put(row, nullptr);
        RegDeleteTreeW(kUsers, kOther.c_str()), RegDeleteKeyW(kUsers, kOther.c_str());
        std::filesystem::remove_all(kFleetHome);
    }
};

// A second repair into the same folder, with sections added to its file that no repair
// writes; then two undos of the folder, the newest file first. The first writes back only the
// second repair's value, the next every value of the first but one changed since.
void UndoTwice(const std::wstring& home, const std::wstring& first)
{
    const Row second{kUsers, kUser + kVersion + L"Run", L"FleetSecond", REG_SZ, "", kTool + L" /2", L""};
    Put(second, &second.old);
    Sleep(1100);  // the files are named by the second
    const std::wstring repair = L"\"" STLAGC_EXE L"\" /allusers /scope:all /repair \"" + home + L"\\\"";
    EXPECT_EQ(1, Execute(repair, NonElevatedToken()).first);
    std::filesystem::path newest;
    for (const auto& entry : std::filesystem::directory_iterator(home))
        newest = entry.path().wstring() != first ? entry.path() : newest;
    std::ofstream(newest, std::ios::app) << "\n[HKEY_LOCAL_MACHINE\\Software\\StlagEvil]\n\"Evil\"=\"C:\\\\x y\\\\e.exe\"\n"
                                         << "\n[HKEY_USERS\\" << Ansi(kUser + kVersion) << "Run]\n\"Injected\"=\"C:\\\\e.exe\"\n";
    const Row& changed = *std::find_if(kRows.begin(), kRows.end(), [](const Row& row) { return row.key == kUser + kPolicyRun; });
    Put(changed, &kTool);
    const std::wstring undo = L"\"" STLAGC_EXE L"\" /undo \"" + home + L"\\\"";
    const auto newer = Execute(L"\"" STLAGC_EXE L"\" /json /undo \"" + home + L"\\\"", NonElevatedToken());
    EXPECT_EQ(1, newer.first) << newer.second;
    for (const char* outcome : {"\"name\":\"FleetSecond\",\"type\":\"REG_SZ\",\"line\":4,\"undo\":\"restored\"",
                                "\"name\":\"Evil\",\"type\":\"REG_SZ\",\"line\":7,\"undo\":\"refused\",\"reason\":\"not-scanned\"",
                                "\"undo\":\"refused\",\"reason\":\"not-faulty\""})
        EXPECT_NE(std::string::npos, newer.second.find(outcome)) << outcome << "\n" << newer.second;
    EXPECT_EQ(std::make_pair(second.type, second.old), Get(second));
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(kMachine, L"Software\\StlagEvil", 0, KEY_READ, nullptr));
    Put(second, nullptr);
    const auto older = Execute(undo, NonElevatedToken());
    EXPECT_EQ(1, older.first) << older.second;
    EXPECT_NE(std::string::npos, older.second.find(Ansi(L"Summering av ångringen: "))) << older.second;
    for (const Row& row : kRows)
        EXPECT_EQ(std::make_pair(row.type, &row == &changed ? kTool : row.old), Get(row)) << row.name;
    EXPECT_TRUE(std::filesystem::exists(first + L".undone") && std::filesystem::exists(newest.wstring() + L".undone"));
}

TEST_F(Fleet, ScanJsonRepairRestore)
{
    const auto usage = Execute(L"\"" STLAGC_EXE L"\" /?");
    EXPECT_EQ(0u, usage.second.find("Startlagaren " STLAG_VERSION ", konsolversion\r\n")) << usage.second;
    for (const std::wstring& program : {kTool, kContoso, kNode})
        Touch(program);
    for (const Row& row : kRows)
        Put(row, &row.old);
    const auto scan = Execute(L"\"" STLAGC_EXE L"\" /allusers /scope:all /json");
    EXPECT_EQ(1, scan.first);
    std::map<std::string, std::string> verdicts;  // by PathOf
    nlohmann::json last;
    for (std::size_t at = 0, end; (end = scan.second.find('\n', at)) != std::string::npos; at = end + 1) {
        last = nlohmann::json::parse(scan.second.substr(at, end - at));  // throws on a line that is no JSON
        if (!last.contains("summary"))
            verdicts[last["key"].get<std::string>() + "\\" + last["name"].get<std::string>()] = last["verdict"];
        if (last.value("name", "") == "Fleet\u03A9") {  // its data whole too, no NUL after it
            EXPECT_EQ("C:\\Program Files\\Fleet Tool\\tool.exe /\u03A9", last["data"].get<std::string>());
        }
    }
    EXPECT_EQ(true, last["summary"]);
    EXPECT_EQ(verdicts.size(), last["looked_at"].get<std::size_t>());
    for (const Row& row : kRows)
        EXPECT_EQ(row.verdict, verdicts[PathOf(row)]) << PathOf(row);
    // None of Wine's own values is faulty; Userinit is, but for a person to change.
    EXPECT_EQ(std::count_if(kRows.begin(), kRows.end(), [](const Row& row) { return !row.repaired.empty(); }) + 1,
              last["faulty"].get<std::ptrdiff_t>());

    // The remediation's own form: the folders made, the file named by stlagc after the time.
    const std::wstring home = kFleetHome + L"\\Fleet \u03A9";  // a script the code page lacks
    const auto repair = Execute(L"\"" STLAGC_EXE L"\" /allusers /scope:all /repair \"" + home + L"\\\"", NonElevatedToken());
    EXPECT_EQ(1, repair.first) << repair.second;  // Userinit is left
    ASSERT_EQ(1, std::distance(std::filesystem::directory_iterator(home), {}));
    const std::wstring backup = std::filesystem::directory_iterator(home)->path().wstring();
    EXPECT_TRUE(std::regex_search(Ansi(backup), std::regex("\\\\stlagc \\d{4}-\\d\\d-\\d\\d \\d{6}\\.reg$")));
    const std::string lastLine = repair.second.substr(repair.second.rfind("\r\n", repair.second.size() - 3) + 2);
    EXPECT_EQ(0u, lastLine.find("Summering: ")) << lastLine;
    // Shown in the code page, a '?' for the letter it lacks, never another letter like it.
    EXPECT_NE(std::string::npos, lastLine.find(Ansi(kFleetHome + L"\\Fleet ?" + backup.substr(home.size())))) << lastLine;
    for (const Row& row : kRows) {
        const std::pair<DWORD, std::wstring> left(row.type, row.repaired.empty() ? row.old : row.repaired);
        EXPECT_EQ(row.repaired == kGone ? std::make_pair(0ul, std::wstring()) : left, Get(row)) << row.name;
    }
    UndoTwice(home, backup);
    EXPECT_EQ(0, Execute(L"regedit.exe /S \"" + backup + L".undone\"").first);
    for (const Row& row : kRows)
        EXPECT_EQ(std::make_pair(row.type, row.old), Get(row)) << row.name;
    EXPECT_NE(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, nullptr, L"Injected", RRF_RT_ANY, nullptr, nullptr, nullptr));
}

// A machine not seen whole is never called clean: a value whose name is longer than the scan
// reads, and an uninstall entry whose name holds a NUL, each alone make exit 3. Twenty values of
// 32,000 characters in another account's hive whose program ends inside %PATHEXT% scan in about
// the time of the same text as plain values (the bound holds on a busy machine; the benchmark
// carries the figure).
TEST_F(Fleet, SeenWholeInTimeLinearInTheLine)
{
    const std::wstring scan = L"\"" STLAGC_EXE L"\" /allusers /scope:all /json";
    EXPECT_EQ(0, Execute(scan).first);
    const Row longName{kUsers, kUser + kVersion + L"Run", std::wstring(5000, L'n'), REG_SZ, "", L"C:\\x.exe", L""};
    Put(longName, &longName.old);
    EXPECT_EQ(3, Execute(scan).first);
    Put(longName, nullptr);
    const Row nul{kMachine, L"Software\\" + kVersion + std::wstring(L"Uninstall\\StlagFleetNul\0Tail", 28), L"UninstallString",
                  REG_SZ, "", L"C:\\Program Files\\Gone Dir\\x.exe", L""};
    Put(nul, &nul.old);
    EXPECT_EQ(3, Execute(scan).first);
    Put(nul, nullptr);

    const std::wstring folder = L"C:\\users\\bob\\My Stuff\\", pathExt = L".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC";
    std::filesystem::create_directories(folder);
    Touch(folder + L"a.com;.exe");
    const std::wstring tail = L" /" + std::wstring(32000, L'x');
    const auto timed = [&](bool expand) {
        for (int i = 0; i < 20; ++i) {
            const Row row{kUsers, kOther + L"\\Software\\" + kVersion + L"Run", L"Long" + std::to_wstring(i),
                          DWORD(expand ? REG_EXPAND_SZ : REG_SZ), "", folder + L"a" + (expand ? L"%PATHEXT%" : pathExt) + tail, L""};
            Put(row, &row.old);
        }
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(expand ? 0 : 1, Execute(scan).first);  // quoted when plain; the quotes would fall inside %PATHEXT%
        return std::chrono::steady_clock::now() - start;
    };
    const auto plain = timed(false), expanded = timed(true);
    EXPECT_LT(expanded, 5 * plain);
    std::filesystem::remove_all(L"C:\\users\\bob");
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
// left unjudged, so the exit is 0.
TEST_F(Fleet, BackupHomeIsRefusedOrMade)
{
    const Row& row = kRows[0];
    Row broken = row;
    broken.name = L"Line\r\nBreak";
    Touch(kTool);
    Put(row, &row.old);
    Put(broken, &broken.old);
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
    EXPECT_EQ(0, repair.first) << repair.second;
    EXPECT_EQ(std::make_pair(broken.type, broken.old), Get(broken));
    Put(broken, nullptr);
    // Wine's user stands in for the owner that mode bits keep; Everyone would be "others".
    PSECURITY_DESCRIPTOR read = nullptr;
    GetNamedSecurityInfoW(backup.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, {}, {}, {}, {}, &read);
    EXPECT_EQ((std::vector<std::string>{kSystem, kWineUser}), Grants(stlag::DescriptorFacts(read)));
    LocalFree(read);
}

}  // namespace
