// The program's texts from its own string table, and message boxes under its title.
#ifndef STLAG_TEXTS_H
#define STLAG_TEXTS_H

#include <windows.h>

#include <string>

namespace stlag {

// By the framework's convention string 57344 of the program is its title.
constexpr UINT kAppTitleTextId = 57344;

// In the system's ANSI code page, whatever its length; empty for an unknown id.
std::string LoadText(UINT id);
// The same in UTF-16.
std::wstring LoadWideText(UINT id);

// A message box with the program's title as its caption.
int AppMessageBox(HWND owner, const std::string& text, UINT style);

}  // namespace stlag

#endif
