#include "log_dialog.h"

#include <cstring>

#include "stlag.h"

namespace stlag {

BOOL CLogDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (const CStlag* sheet = CStlag::FromHandle(GetParent()))
        ::SetDlgItemTextA(window_, IDC_LOG_EDIT, sheet->logText.c_str());
    return TRUE;
}

bool CLogDialog::OnCommand(WORD notifyCode, WORD id, HWND control)
{
    if (notifyCode == BN_CLICKED && id == IDC_COPY_BUTTON) {
        OnCopyButton();
        return true;
    }
    return CDialog::OnCommand(notifyCode, id, control);
}

void CLogDialog::OnCopyButton() const
{
    // The sheet's own text, not what the box shows.
    if (const CStlag* sheet = CStlag::FromHandle(GetParent()))
        CopyTextToClipboard(sheet->logText.c_str(), CF_TEXT);
}

void CLogDialog::CopyTextToClipboard(const char* text, UINT format) const
{
    // The block is filled before the clipboard is opened and emptied, so a failure on the
    // way leaves what the clipboard held. The clipboard asks for movable memory.
    const std::size_t size = std::strlen(text) + 1;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr)
        return;
    void* bytes = ::GlobalLock(block);
    if (bytes == nullptr) {
        ::GlobalFree(block);
        return;
    }
    std::memcpy(bytes, text, size);
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
