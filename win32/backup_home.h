// A backup kept where only administrators can change it, when the program runs elevated or
// as SYSTEM: the run level, the protected security descriptor, the facts of a folder's
// safety (judged by FolderRefusal), the check that a file opened where it was asked for,
// and stlagc's choice of its backup file.
#ifndef STLAG_BACKUP_HOME_H
#define STLAG_BACKUP_HOME_H

#include <string>
#include <vector>

#include "backup_folder.h"
#include "platform.h"

namespace stlag {

// The process token's: SYSTEM, elevated (administrators' rights in effect), or neither.
enum class RunLevel { User, Elevated, System };
RunLevel CurrentRunLevel();

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

// True when the open file's final path, read through its handle, is asked (made full and
// long), letter case and the \\?\ prefix aside: no link on the way led elsewhere.
bool OpensWhereAsked(void* file, const std::wstring& asked);

// stlagc's backup file for /repair ARGUMENT, or the text id of why there is none (and the
// folder the text names). A folder (FolderByForm, or an existing folder) gets a file named
// baseName and the time; a missing one is created, with the protected descriptor when
// elevated. Elevated, an existing folder must pass FolderRefusal; as SYSTEM, so must the
// folder of a file.
struct BackupChoice {
    std::string path, folder;
    unsigned refusalId = 0;
};
BackupChoice ChooseBackupFile(const std::string& argument, const CodePage& codePage, const std::string& baseName);

}  // namespace stlag

#endif
