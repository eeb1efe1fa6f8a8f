#include "undo_source.h"

#include <windows.h>

#include <aclapi.h>

#include <optional>
#include <vector>

#include "backup_home.h"
#include "resource.h"
#include "win32_platform.h"

namespace stlag {

namespace {

// Far above what a repair of every scope writes, far below what would take long to read.
constexpr LONGLONG kLargestBackup = 64LL * 1024 * 1024;

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(Utf8ToWide(folder + "\\*.reg").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.push_back(WideToUtf8(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// A file's own facts, as a folder's are judged: a plain file that only administrators own and change.
unsigned FileRefusal(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!GetFileInformationByHandle(file, &info) ||
        GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
                        nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return IDS_UNDO_UNREADABLE;
    FolderFacts facts = DescriptorFacts(descriptor);
    LocalFree(descriptor);
    if ((info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)
        return IDS_UNDO_FILE_NOT_PLAIN;
    const unsigned refusal = FolderRefusal(facts, RunningAdminOwner());
    return refusal == IDS_FOLDER_FOREIGN_OWNER ? IDS_UNDO_FILE_FOREIGN_OWNER
           : refusal != 0                      ? IDS_UNDO_FILE_OTHERS_MAY_CHANGE
                                               : 0;
}

// The bytes of the open file, or the text id of why not.
unsigned ReadAll(HANDLE file, std::string& bytes)
{
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size))
        return IDS_UNDO_UNREADABLE;
    if (size.QuadPart > kLargestBackup)
        return IDS_UNDO_TOO_LARGE;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    const bool whole = bytes.empty() || (ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                                         read == bytes.size());
    return whole ? 0 : IDS_UNDO_UNREADABLE;
}

// Opened as it is, a link not followed, so that what is judged is what is read.
unsigned ReadFileAt(const std::string& path, bool elevated, std::string& bytes)
{
    const HeldFolder folder(Utf8ToWide(path));
    const HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ | READ_CONTROL, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return IDS_UNDO_UNREADABLE;
    unsigned refusal = elevated ? FileRefusal(file) : 0;
    if (refusal == 0 && elevated && !folder.Holds(file))
        refusal = IDS_UNDO_FILE_MOVED;
    if (refusal == 0)
        refusal = ReadAll(file, bytes);
    CloseHandle(file);
    return refusal;
}

}  // namespace

UndoSource ReadUndoSource(const std::string& argument)
{
    UndoSource source;
    const bool elevated = CurrentRunLevel() != RunLevel::User;
    const std::optional<std::string> folder = FolderArgument(argument);
    const std::string fileFolder = folder ? *folder : FolderOfFile(argument);
    source.place = fileFolder + "\\";
    if (elevated && (source.refusalId = ExistingFolderRefusal(FolderToOpen(fileFolder), source.above)) != 0)
        return source;
    source.path = FullPath(argument);
    if (folder) {
        const std::string newest = NewestTimedBackup(FolderNames(*folder), "stlagc");
        if (newest.empty()) {
            source.refusalId = IDS_UNDO_NO_BACKUP;
            return source;
        }
        source.path = FullPath(*folder + "\\" + newest);
    }
    source.place = source.path;
    source.refusalId = ReadFileAt(source.path, elevated, source.bytes);
    return source;
}

bool MarkUndone(const std::string& path)
{
    return MoveFileExW(Utf8ToWide(path).c_str(), Utf8ToWide(path + ".undone").c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace stlag
