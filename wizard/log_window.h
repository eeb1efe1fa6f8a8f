// The troubleshooting log window: shows the text it is given and copies it to the clipboard.
#ifndef STLAG_LOG_WINDOW_H
#define STLAG_LOG_WINDOW_H

#include <string>

#include "dialog.h"

namespace stlag {

class CLogWindow : public CDialog {
public:
    // No parent: the active window, the wizard, becomes the owner.
    explicit CLogWindow(const std::string& logText);

    // Puts text, NUL included, on the clipboard as its only format. Gives up silently, and
    // leaves the clipboard as it was, when memory or the clipboard cannot be had.
    void CopyTextToClipboard(const std::string& text, UINT format) const;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD notifyCode, WORD id, HWND control) override;
    void OnDpiChanged(UINT /*dpi*/) override { FitToScreen(); }

private:
    // The box within its monitor's work area: where it has to shrink, the log's field shrinks
    // with it and the buttons keep their place at the bottom right.
    void FitToScreen() const;

    const std::string& logText_;
};

}  // namespace stlag

#endif
