// A backup kept where only administrators can change it, when the program runs elevated or
// as SYSTEM: the run level, the protected security descriptor, the facts of a folder's
// safety (judged by FolderRefusal), the check that a file opened where it was asked for,
// and stlagc's choice of its backup file.
#ifndef STLAG_BACKUP_HOME_H
#define STLAG_BACKUP_HOME_H

#include <optional>
#include <string>
#include <vector>

#include "backup_folder.h"
#include "platform.h"

namespace stlag {

// The process token's: SYSTEM, elevated (administrators' rights in effect), or neither.
enum class RunLevel { User, Elevated, System };
RunLevel CurrentRunLevel();

// The account this run is, when it is elevated with no token of it that is not (the
// built-in Administrator, UAC off), so that what it makes is its own; else empty. Folders
// it owns, and its grants, count as administrators'.
std::string RunningAdminOwner();

// The folder as a path to open: a drive's root keeps its backslash, which "C:" would lose.
std::wstring FolderToOpen(const std::string& folder);

// The folder of a file as the system takes its path, without its last backslash ("C:" for
// a root); UTF-8.
std::string FolderOfFile(const std::string& path);

// A path made full as the system takes it (UTF-8); the path as it is when that fails.
std::string FullPath(const std::string& path);

// The folder that /repair's or /undo's argument names: by its form (FolderByForm), or a
// folder that is there; nothing for a file.
std::optional<std::string> FolderArgument(const std::string& argument);

// 0 when the folder that is there passes FolderRefusal and every folder above it, from its
// root down, AncestorRefusal; else the text id of why, and above the folder it is about.
unsigned ExistingFolderRefusal(const std::wstring& folder, std::string& above);

// Who besides SYSTEM and Administrators may use a backup file made by an elevated run:
// nobody (stlagc), or also the token's user, who undoes a wizard's repair by double-click.
enum class BackupAccess { AdministratorsOnly, AlsoTheUser };

// A self-relative security descriptor with a protected access list (nothing inherited)
// giving full control to SYSTEM, Administrators and, with AlsoTheUser, the token's user,
// and to nobody else. A folder's is owned by Administrators and handed down to everything
// inside. Empty when it could not be built.
std::vector<unsigned char> ProtectedDescriptor(BackupAccess access, bool forFolder);

// The owner and granting entries of a security descriptor; folder and reparse point left
// as they start out.
FolderFacts DescriptorFacts(const void* descriptor);

// The folder of a file path, held open from construction to destruction without delete
// sharing, so that nobody renames it away meanwhile; finalPath() is where it leads, read
// through the handle (empty when it could not be opened or read). Holds(file) is true when
// the open file's final path lies directly in finalPath(), letter case and the \\?\ prefix
// aside: a link, junction or DFS path on the way led to one place, not elsewhere between two looks.
class HeldFolder {
public:
    explicit HeldFolder(const std::wstring& filePath);
    ~HeldFolder();
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;
    const std::wstring& finalPath() const { return finalPath_; }
    bool Holds(void* file) const;

private:
    void* handle_;
    std::wstring finalPath_;
};

// stlagc's backup file for /repair ARGUMENT, or the text id of why there is none (and the
// folder the text is about, and the folder above it that the text names with %s), all paths
// in UTF-8; a file's path as the system makes it full. A folder
// (FolderByForm, or an existing folder) gets a file named baseName and the time; a missing
// one is created, with the protected descriptor when elevated. Elevated, an existing folder
// must pass FolderRefusal, and every folder above it, from its root down, AncestorRefusal,
// before anything is made; as SYSTEM, so must the folder of a file and those above it.
struct BackupChoice {
    std::string path, folder, above;
    unsigned refusalId = 0;
};
BackupChoice ChooseBackupFile(const std::string& argument, const std::string& baseName);

}  // namespace stlag

#endif
