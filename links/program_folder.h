// The folder of the running program, as the read-me opener and the About box use it.
#ifndef STLAG_PROGRAM_FOLDER_H
#define STLAG_PROGRAM_FOLDER_H

#include <string>

#include "platform.h"

namespace stlag {

// Everything up to and including the last backslash of the program's file path, in lower
// case; empty when the path has no backslash.
std::string ProgramFolderFromModulePath(const std::string& modulePath, const CodePage& codePage);

}  // namespace stlag

#endif
