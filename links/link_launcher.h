// Opens a link target with a shell, the desktop's first so that it runs with the user's
// normal rights; when the shells refuse it, starts the program of the .htm class on it.
// Explains failures in an English error box.
#ifndef STLAG_LINK_LAUNCHER_H
#define STLAG_LINK_LAUNCHER_H

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace stlag {

// Opens target with the desktop's shell or, when none answers or it refuses, with this
// program's: a value above 32 when one took it, else this program's shell's error code. The
// ANSI target is converted; a path of any script is opened whole as UTF-16.
int ShellOpen(const std::wstring& target, int show);
int ShellOpen(const std::string& target, int show);

// ShellOpen's result when it is above 32, else the fallback's: a value above 32 when the
// .htm program started, 0 when it did not, kCommandTooLong when its command line would
// not fit, or the shell's own error code when there is no .htm program to fall back on.
int LaunchTarget(const std::string& target, int show);

// Copies the default value of root\subkey into out (at least 260 bytes; may be the memory
// of subkey). A value that cannot be read comes back empty. Returns the status of opening
// the key and leaves out untouched when that fails.
LONG ReadDefaultValue(HKEY root, const char* subkey, char* out);

// The error box for a failed launch, captioned with the program's title.
void ShowLaunchError(int code);

}  // namespace stlag

#endif
