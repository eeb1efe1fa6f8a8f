// An edit control.
#ifndef STLAG_EDIT_H
#define STLAG_EDIT_H

#include <windows.h>

#include "window.h"

namespace stlag {

class CEdit : public CWindow {
public:
    void SetSel(int start, int end) const { SendMsg(EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end)); }
    void ScrollCaret() const { SendMsg(EM_SCROLLCARET); }
};

}  // namespace stlag

#endif
