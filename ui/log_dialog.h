// The troubleshooting log window: shows the sheet's log and copies it to the clipboard.
#ifndef STLAG_LOG_DIALOG_H
#define STLAG_LOG_DIALOG_H

#include "dialog.h"
#include "resource.h"

namespace stlag {

class CLogDialog : public CDialog {
public:
    explicit CLogDialog(HWND parent) : CDialog(IDD_LOG, parent) {}

    // Puts text, NUL included, on the clipboard as its only format. Gives up silently, and
    // leaves the clipboard as it was, when memory or the clipboard cannot be had.
    void CopyTextToClipboard(const char* text, UINT format) const;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD notifyCode, WORD id, HWND control) override;

private:
    void OnCopyButton() const;
};

}  // namespace stlag

#endif
