#include "backup_home.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <ctime>

#include "resource.h"
#include "win32_platform.h"

namespace stlag {

namespace {

const char kSystemSid[] = "S-1-5-18";

std::string SidText(PSID sid)
{
    char* text = nullptr;
    if (!ConvertSidToStringSidA(sid, &text))
        return std::string();
    std::string copy(text);
    LocalFree(text);
    return copy;
}

std::string TokenUserSid()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return std::string();
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    std::string sid;
    if (size != 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size))
        sid = SidText(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
    CloseHandle(token);
    return sid;
}

// Object and compound grants name their account elsewhere: they count as an unknown one's.
void AddGrant(const void* entry, std::vector<AccessGrant>& grants)
{
    const BYTE type = static_cast<const ACE_HEADER*>(entry)->AceType;
    const bool plain = type == ACCESS_ALLOWED_ACE_TYPE || type == ACCESS_ALLOWED_CALLBACK_ACE_TYPE;
    if (!plain && type != ACCESS_ALLOWED_OBJECT_ACE_TYPE && type != ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE &&
        type != ACCESS_ALLOWED_COMPOUND_ACE_TYPE)
        return;
    const auto* grant = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
    grants.push_back({plain ? SidText(const_cast<DWORD*>(&grant->SidStart)) : std::string(), grant->Mask,
                      (grant->Header.AceFlags & INHERIT_ONLY_ACE) != 0});
}

// The text a path-taking call fills in, its buffer grown until the text fits; empty on failure.
template <typename Call>
std::wstring Filled(Call call)
{
    std::wstring text(MAX_PATH, L'\0');
    for (int tries = 0; tries < 3; ++tries) {
        const DWORD length = call(&text[0], static_cast<DWORD>(text.size()));
        if (length == 0)
            return std::wstring();
        const bool fits = length < text.size();
        text.resize(length);  // when it did not fit: the size asked for, NUL included
        if (fits)
            return text;
    }
    return std::wstring();
}

std::wstring WithoutLongPrefix(const std::wstring& path)
{
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        return L"\\\\" + path.substr(8);
    return path.compare(0, 4, L"\\\\?\\") == 0 ? path.substr(4) : path;
}

// Where an open file or folder lies, as the system names it after every link; empty when unread.
std::wstring FinalPath(HANDLE handle)
{
    return Filled([&](wchar_t* buffer, DWORD size) {
        return GetFinalPathNameByHandleW(handle, buffer, size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    });
}


// The facts of a folder opened as it is: a reparse point itself, not where it leads. False
// when it could not be opened or read.
bool ReadFolderFacts(const std::wstring& folder, FolderFacts& facts)
{
    const HANDLE handle = CreateFileW(folder.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info = {};
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const bool read = GetFileInformationByHandle(handle, &info) &&
                      GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                      nullptr, nullptr, nullptr, nullptr, &descriptor) == ERROR_SUCCESS;
    CloseHandle(handle);
    if (!read)
        return false;
    facts = DescriptorFacts(descriptor);
    LocalFree(descriptor);
    facts.folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.reparsePoint = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    return true;
}

// Where the part of a full path below its root starts: after "C:\" or "\\server\share\",
// \\?\ forms included; the whole of a share's root; npos for any other form.
std::size_t RootLength(const std::wstring& full)
{
    const std::wstring plain = WithoutLongPrefix(full);
    const std::size_t prefix = full.size() - plain.size();
    if (plain.size() >= 3 && plain[1] == L':' && plain[2] == L'\\')
        return prefix + 3;
    if (plain.compare(0, 2, L"\\\\") != 0)
        return std::wstring::npos;
    const std::size_t share = plain.find(L'\\', 2);
    const std::size_t end = share == std::wstring::npos ? share : plain.find(L'\\', share + 1);
    return end == std::wstring::npos ? full.size() : prefix + end + 1;
}

// The folder that holds folder, or nothing for a drive's or share's root.
std::wstring ParentFolder(const std::wstring& folder)
{
    const std::wstring full = Filled([&](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(folder.c_str(), size, buffer, nullptr);
    });
    const std::size_t root = RootLength(full), split = full.find_last_of(L'\\', full.size() - 2);
    return root == std::wstring::npos || split == std::wstring::npos || split + 1 < root || full.size() <= root
               ? std::wstring()
               : full.substr(0, std::max(split, root));
}

// Whoever can rename a folder above, or an entry of it, can put another folder in its place:
// each one from the root down must pass AncestorRefusal. above: the one that did not.
unsigned AncestorsRefusal(const std::wstring& folder, std::string& above)
{
    const std::wstring full = Filled([&](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(folder.c_str(), size, buffer, nullptr);
    });
    const std::size_t root = RootLength(full);
    if (root == std::wstring::npos)
        return IDS_FOLDER_UNREADABLE;
    const std::string runningAdmin = RunningAdminOwner();
    for (std::size_t end = root; end != 0 && end < full.size(); end = full.find(L'\\', end) + 1) {
        const std::wstring ancestor = full.substr(0, end);
        above = WideToUtf8(ancestor);
        FolderFacts facts;
        if (!ReadFolderFacts(ancestor, facts))
            return IDS_FOLDER_UNREADABLE;
        const unsigned refusal = AncestorRefusal(facts, end == root, runningAdmin);
        if (refusal != 0)
            return refusal;
    }
    above.clear();
    return 0;
}


// A folder that CreateDirectory makes is new: nobody else has had a hand in it yet.
unsigned SettleFolder(const std::wstring& folder, bool elevated, std::string& above)
{
    if (elevated && GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES)
        return ExistingFolderRefusal(folder, above);
    // A missing folder above is made first, as this one is.
    const std::wstring parent = ParentFolder(folder);
    if (!parent.empty() && GetFileAttributesW(parent.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const unsigned made = SettleFolder(parent, elevated, above);
        if (made != 0)
            return made;
    }
    // Nothing is made below a folder that another account could swap.
    const unsigned ancestors = elevated ? AncestorsRefusal(folder, above) : 0;
    if (ancestors != 0)
        return ancestors;
    const std::vector<unsigned char> descriptor =
        elevated ? ProtectedDescriptor(BackupAccess::AdministratorsOnly, true) : std::vector<unsigned char>();
    if (elevated && descriptor.empty())
        return IDS_FOLDER_NOT_CREATED;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, const_cast<unsigned char*>(descriptor.data()), FALSE};
    if (CreateDirectoryW(folder.c_str(), descriptor.empty() ? nullptr : &attributes))
        return 0;
    // A drive's root is not made either, but it is there; a folder made meanwhile is judged as it is.
    if (GetLastError() != ERROR_ALREADY_EXISTS && GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        return IDS_FOLDER_NOT_CREATED;
    return elevated ? ExistingFolderRefusal(folder, above) : 0;
}


std::tm LocalNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_s(&local, &now);
    return local;
}

}  // namespace

std::wstring FolderToOpen(const std::string& folder)
{
    return Utf8ToWide(folder.empty() || folder.back() == ':' ? folder + "\\" : folder);
}

// The folder's own facts first: they are what its owner can mend.
unsigned ExistingFolderRefusal(const std::wstring& folder, std::string& above)
{
    FolderFacts facts;
    if (!ReadFolderFacts(folder, facts))
        return IDS_FOLDER_UNREADABLE;
    const unsigned refusal = FolderRefusal(facts, RunningAdminOwner());
    return refusal != 0 ? refusal : AncestorsRefusal(folder, above);
}

std::string FullPath(const std::string& path)
{
    const std::string full = WideToUtf8(Filled([&](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(Utf8ToWide(path).c_str(), size, buffer, nullptr);
    }));
    return full.empty() ? path : full;
}

std::string FolderOfFile(const std::string& path)
{
    const std::wstring full = Filled([&](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(Utf8ToWide(path).c_str(), size, buffer, nullptr);
    });
    const std::size_t split = full.rfind(L'\\');
    const std::wstring folder = split == std::wstring::npos ? full : full.substr(0, split);
    return WideToUtf8(folder);
}

std::optional<std::string> FolderArgument(const std::string& argument)
{
    std::optional<std::string> folder = FolderByForm(argument);
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(argument).c_str());
    if (!folder && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        folder = argument;
    return folder;
}

std::string RunningAdminOwner()
{
    // Under UAC the account has programs that are not elevated, and the elevated token makes
    // what it makes as Administrators': a folder the account itself owns was made by one of
    // those, which anyone who runs as the user controls.
    if (CurrentRunLevel() != RunLevel::Elevated)
        return std::string();
    HANDLE token = nullptr;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeFull;
    DWORD size = 0;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size);
        CloseHandle(token);
    }
    return type == TokenElevationTypeDefault ? TokenUserSid() : std::string();
}

RunLevel CurrentRunLevel()
{
    if (TokenUserSid() == kSystemSid)
        return RunLevel::System;
    HANDLE token = nullptr;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    const bool elevated = OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
                          GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
                          elevation.TokenIsElevated != 0;
    if (token != nullptr)
        CloseHandle(token);
    return elevated ? RunLevel::Elevated : RunLevel::User;
}

std::vector<unsigned char> ProtectedDescriptor(BackupAccess access, bool forFolder)
{
    // The owner of a folder counts in FolderRefusal; a file's owner is the creator's default.
    const std::string grant = forFolder ? "(A;OICI;FA;;;" : "(A;;FA;;;";
    std::string sddl = std::string(forFolder ? "O:BA" : "") + "D:P" + grant + "SY)" + grant + "BA)";
    if (access == BackupAccess::AlsoTheUser) {
        const std::string user = TokenUserSid();
        if (user.empty())
            return std::vector<unsigned char>();
        sddl += grant + user + ")";
    }
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ULONG size = 0;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor, &size))
        return std::vector<unsigned char>();
    const auto* bytes = static_cast<const unsigned char*>(descriptor);
    std::vector<unsigned char> copy(bytes, bytes + size);
    LocalFree(descriptor);
    return copy;
}

FolderFacts DescriptorFacts(const void* descriptor)
{
    FolderFacts facts;
    const auto sd = const_cast<PSECURITY_DESCRIPTOR>(descriptor);
    PSID owner = nullptr;
    PACL list = nullptr;
    BOOL defaulted = FALSE, present = FALSE;
    if (GetSecurityDescriptorOwner(sd, &owner, &defaulted) && owner != nullptr)
        facts.ownerSid = SidText(owner);
    facts.hasAccessList = GetSecurityDescriptorDacl(sd, &present, &list, &defaulted) && present && list != nullptr;
    for (DWORD i = 0; facts.hasAccessList && i < list->AceCount; ++i) {
        void* entry = nullptr;
        if (GetAce(list, i, &entry))
            AddGrant(entry, facts.grants);
    }
    return facts;
}

HeldFolder::HeldFolder(const std::wstring& filePath) : handle_(INVALID_HANDLE_VALUE)
{
    const std::wstring full = Filled([&](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(filePath.c_str(), size, buffer, nullptr);
    });
    const std::size_t split = full.rfind(L'\\');
    if (split == std::wstring::npos)
        return;
    // Where it leads is what counts, so links are followed; without FILE_SHARE_DELETE nobody
    // opens it to rename it while it is held.
    handle_ = CreateFileW(full.substr(0, split + 1).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle_ != INVALID_HANDLE_VALUE)
        finalPath_ = FinalPath(handle_);
}

HeldFolder::~HeldFolder()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
}

bool HeldFolder::Holds(void* file) const
{
    const std::wstring reached = FinalPath(file);
    const std::size_t split = reached.rfind(L'\\');
    if (finalPath_.empty() || split == std::wstring::npos)
        return false;
    const std::wstring folder = WithoutLongPrefix(finalPath_.back() == L'\\' ? finalPath_ : finalPath_ + L'\\');
    return CompareStringOrdinal(WithoutLongPrefix(reached.substr(0, split + 1)).c_str(), -1, folder.c_str(), -1, TRUE) ==
           CSTR_EQUAL;
}

BackupChoice ChooseBackupFile(const std::string& argument, const std::string& baseName)
{
    const RunLevel level = CurrentRunLevel();
    BackupChoice choice;
    const std::optional<std::string> folder = FolderArgument(argument);
    if (folder) {
        choice.folder = *folder + "\\";
        choice.path = DefaultBackupFileName(*folder, baseName, LocalNow());
        choice.refusalId = SettleFolder(FolderToOpen(*folder), level != RunLevel::User, choice.above);
        return choice;
    }
    // Named whole, so that whoever reads the report finds it, wherever stlagc ran.
    choice.path = FullPath(argument);
    if (level == RunLevel::System) {
        const std::string fileFolder = FolderOfFile(argument);
        choice.folder = fileFolder + "\\";
        choice.refusalId = ExistingFolderRefusal(FolderToOpen(fileFolder), choice.above);
    }
    return choice;
}

}  // namespace stlag
