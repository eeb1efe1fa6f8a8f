// The program's texts from its own string table, and message boxes under its title.
#ifndef STLAG_UI_TEXTS_H
#define STLAG_UI_TEXTS_H

#include <windows.h>

#include <string>

namespace stlag {

// In the system's ANSI code page; empty for an unknown id.
std::string LoadText(unsigned id);

// A message box with the application title (string 57344) as its caption.
int AppMessageBox(HWND owner, const std::string& text, UINT style);

}  // namespace stlag

#endif
