// Where the backup file goes: the desktop folder, and the save dialog to pick another name.
// Paths are UTF-8, so that a folder named in any script is named whole.
#ifndef STLAG_BACKUP_FILE_CHOOSER_H
#define STLAG_BACKUP_FILE_CHOOSER_H

#include <windows.h>

#include <cstddef>
#include <string>

#include "backup_name.h"

namespace stlag {

// The file-system path of a shell special folder (CSIDL_...), or empty on any failure.
std::string GetSpecialFolderPath(int folderNumber);

// The system's save dialog, started in the folder of path with its file name (offered only
// when it fits bufferSize characters with its NUL). The filter and the default extension are
// in the ANSI code page. True when the user accepted a name, which is then in chosenPath.
bool AskSaveFileName(HWND owner, const std::string& path, DWORD flags, const std::string& filterText,
                     const std::string& defaultExtension, std::size_t bufferSize, std::string& chosenPath);

}  // namespace stlag

#endif
