// A static control of a dialog template that behaves as a link: link colours, an
// underlined font, fitted to its text, a hand cursor, the target as its tooltip; a click
// or the space bar hands the target to the link launcher.
#ifndef STLAG_HYPER_LINK_H
#define STLAG_HYPER_LINK_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "hyperlink_logic.h"
#include "window.h"

namespace stlag {

class CHyperLink : public CWindow {
public:
    CHyperLink() = default;
    CHyperLink(const CHyperLink&) = delete;
    CHyperLink& operator=(const CHyperLink&) = delete;
    virtual ~CHyperLink();

    // Takes over the control: set-up (PreSubclassWindow), then its messages come here.
    // Does nothing for a control already taken over or a null handle.
    void SubclassControl(HWND control);

    // The new target and tooltip text; the shown text stays as it is.
    void SetLinkTarget(std::string newTarget);
    const std::string& GetLinkTarget() const { return target; }
    void FitWindowToText();
    static void LoadHandCursor();
    void ActivateLink();

    BOOL hasFocus = FALSE;
    BOOL pointerOver = FALSE;
    BOOL visited = FALSE;
    std::uint32_t options = HLO_DEFAULT;

    static HCURSOR handCursor;

protected:
    virtual void PreSubclassWindow();
    // Hands the message to the tooltip, which needs the mouse messages to know when to show.
    virtual void PreTranslateMessage(const MSG& message);

private:
    static LRESULT CALLBACK LinkProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT WindowProcedure(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const;
    void Invalidate() const { ::InvalidateRect(window_, nullptr, TRUE); }

    LRESULT OnCtlColor(HDC dc) const;
    LRESULT OnSetCursor() const;
    LRESULT OnMouseMove(LPARAM point);
    LRESULT OnLButtonUp();
    LRESULT OnSetFocus();
    LRESULT OnKillFocus();
    LRESULT OnKeyDown(UINT message, WPARAM key, LPARAM flags);
    LRESULT OnLButtonDown();
    LRESULT OnNcDestroy(UINT message, WPARAM wParam, LPARAM lParam);

    std::string target;
    HFONT linkFont = nullptr;
    HWND toolTip = nullptr;
    WNDPROC staticProcedure_ = nullptr;
};

}  // namespace stlag

#endif
