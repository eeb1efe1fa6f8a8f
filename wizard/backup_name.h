// The pieces of a backup file's path that the save dialog is started with, the name a
// double-click undoes from, and the default name (DefaultBackupFileName, shared with stlagc).
// Paths are UTF-8: no byte of a character from beyond ASCII is a separator. Plain text work,
// no windows, so it is tested natively.
#ifndef STLAG_BACKUP_NAME_H
#define STLAG_BACKUP_NAME_H

#include <string>

#include "backup_folder.h"

namespace stlag {

// Up to and including the last backslash; failing that the last forward slash; failing
// that the whole path.
std::string GetFolderPart(const std::string& path);

// After the last backslash; failing that the last forward slash; failing that the whole path.
std::string GetFileNamePart(const std::string& path);

// "A|*.a|B|*.b||" as the save dialog wants it: every bar a NUL, line feeds dropped. The
// result carries the doubled NUL that ends the list in its own bytes.
std::string SaveDialogFilter(const std::string& filterText);

// A typed backup name as it is written: a name without a drive or share is put in folder
// (the desktop, where the default goes), and one that does not end in ".reg" gets it, so
// that a double-click on the file starts the registry editor. No name at all stays as it is.
std::string CompleteBackupName(const std::string& typed, const std::string& folder);

}  // namespace stlag

#endif
