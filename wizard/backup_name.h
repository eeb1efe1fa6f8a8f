// The pieces of a path that the save dialog is started with, and the backup file's default
// name (DefaultBackupFileName, shared with stlagc). Plain text work, no windows, so it is
// tested natively.
#ifndef STLAG_BACKUP_NAME_H
#define STLAG_BACKUP_NAME_H

#include <string>
#include <vector>

#include "backup_folder.h"
#include "platform.h"

namespace stlag {

// Up to and including the last backslash; failing that the last forward slash; failing
// that the whole path. A trail byte of a double-byte character is never a separator.
std::string GetFolderPart(const std::string& path, const CodePage& codePage);

// After the last backslash; failing that the last forward slash; failing that the whole path.
std::string GetFileNamePart(const std::string& path, const CodePage& codePage);

// "A|*.a|B|*.b||" as the save dialog wants it: every bar a NUL, line feeds dropped. The
// result carries the doubled NUL that ends the list in its own bytes.
std::string SaveDialogFilter(const std::string& filterText);

// The save dialog's file buffer of bufferSize bytes holding the file-name part of
// nameSource. A name that would not fit with its NUL is not cut: the buffer starts empty.
std::vector<char> SaveDialogFileBuffer(const std::string& nameSource, std::size_t bufferSize,
                                       const CodePage& codePage);

}  // namespace stlag

#endif
