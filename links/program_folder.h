// The folder of the running program, as the read-me opener and the About box use it.
#ifndef STLAG_PROGRAM_FOLDER_H
#define STLAG_PROGRAM_FOLDER_H

#include <string>


namespace stlag {

// Everything up to and including the last backslash of the program's file path (UTF-16), in
// lower case; empty when the path has no backslash.
std::u16string ProgramFolderFromModulePath(const std::u16string& modulePath);

}  // namespace stlag

#endif
