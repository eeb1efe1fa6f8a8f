#include "log_window.h"

#include <cstring>

#include "dpi.h"
#include "resource.h"

namespace stlag {

CLogWindow::CLogWindow(const std::string& logText) : CDialog(IDD_LOG), logText_(logText) {}

BOOL CLogWindow::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItemText(IDC_LOG_EDIT, logText_);
    FitToScreen();
    return TRUE;
}

void CLogWindow::FitToScreen() const
{
    const SIZE shrunk = FitToWorkArea(window_);
    if (shrunk.cx == 0 && shrunk.cy == 0)
        return;
    for (const int id : {IDC_LOG_EDIT, IDC_COPY_BUTTON, IDOK}) {
        const CWindow control(GetDlgItem(id));
        const RECT place = control.GetRectInParent();
        const bool field = id == IDC_LOG_EDIT;
        ::MoveWindow(control, place.left - (field ? 0 : shrunk.cx), place.top - (field ? 0 : shrunk.cy),
                     place.right - place.left - (field ? shrunk.cx : 0), place.bottom - place.top - (field ? shrunk.cy : 0),
                     TRUE);
    }
}

bool CLogWindow::OnCommand(WORD notifyCode, WORD id, HWND control)
{
    // The log itself is copied, not what the box shows.
    if (notifyCode == BN_CLICKED && id == IDC_COPY_BUTTON) {
        CopyTextToClipboard(logText_, CF_TEXT);
        return true;
    }
    return CDialog::OnCommand(notifyCode, id, control);
}

void CLogWindow::CopyTextToClipboard(const std::string& text, UINT format) const
{
    // The block is filled before the clipboard is opened and emptied, so a failure on the
    // way leaves what the clipboard held. The clipboard asks for movable memory.
    const std::size_t size = std::strlen(text.c_str()) + 1;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr)
        return;
    void* bytes = ::GlobalLock(block);
    if (bytes == nullptr) {
        ::GlobalFree(block);
        return;
    }
    std::memcpy(bytes, text.c_str(), size);
    ::GlobalUnlock(block);

    if (!::OpenClipboard(window_)) {
        ::GlobalFree(block);
        return;
    }
    ::EmptyClipboard();
    // Only a successful SetClipboardData takes the block over; a refused one is still ours.
    if (::SetClipboardData(format, block) == nullptr)
        ::GlobalFree(block);  // cppcheck-suppress doubleFree
    ::CloseClipboard();
}

}  // namespace stlag
