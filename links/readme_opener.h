// Finds the program's own folder and opens files that lie in it with the shell.
#ifndef STLAG_README_OPENER_H
#define STLAG_README_OPENER_H

#include <string>

namespace stlag {

// The read-me file beside the program, as F1 and the Help buttons open it.
constexpr char kReadMeFileName[] = "ReadMe.txt";

// The running program's folder, lower case, with its final backslash, in any script.
std::wstring GetProgramFolder();

// Opens program folder + name (name as written) with a shell, as ShellOpen does; true when
// one accepted it.
bool OpenProgramFile(const std::string& name);

}  // namespace stlag

#endif
