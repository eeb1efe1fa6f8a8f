// The backup file that stlagc /undo takes a repair back from, read as the repair's own
// backups are kept: where only administrators can change it, when the run is elevated.
#ifndef STLAG_UNDO_SOURCE_H
#define STLAG_UNDO_SOURCE_H

#include <string>

namespace stlag {

// The file's path (UTF-8, full) and its bytes, or the text id of why there are none, with
// the place the text is about (the file or its folder) and the folder above that it names.
struct UndoSource {
    std::string path, place, above;
    unsigned refusalId = 0;
    std::string bytes;
};

// /undo ARGUMENT: a file, or a folder (by its form, FolderByForm, or one that is there) whose
// newest "stlagc <time>.reg" is taken. Elevated or as SYSTEM, the folder must pass the
// checks of a backup's folder (ExistingFolderRefusal), the file be a plain file in that very
// folder, and no account but SYSTEM and Administrators (and RunningAdminOwner) may own or
// change it. Files larger than any backup stlagc writes are not read.
UndoSource ReadUndoSource(const std::string& argument);

// Renames the file to its name + ".undone", never over another; false when it could not.
bool MarkUndone(const std::string& path);

}  // namespace stlag

#endif
