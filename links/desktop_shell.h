// Opens a file or address through the desktop's own shell, so that what it starts runs
// with the signed-in user's normal rights even when this program runs elevated.
#ifndef STLAG_DESKTOP_SHELL_H
#define STLAG_DESKTOP_SHELL_H

#include <string>

namespace stlag {

// True when the desktop's shell took the target; false when no desktop shell answers or
// it refused.
bool OpenFromDesktop(const std::wstring& target, int show);

// True when the desktop's shell is there to open things: its process registers it at its own
// pace after the desktop starts.
bool DesktopShellAnswers();

}  // namespace stlag

#endif
