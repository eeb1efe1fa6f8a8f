// A static control of a dialog template that behaves as a link: link colours (the system's
// in a high-contrast theme), an underlined font, fitted to its text, a hand cursor, the
// target as its tooltip; a click or the space bar hands the target to the link launcher. A
// screen reader meets it as a link and can follow it.
#ifndef STLAG_HYPER_LINK_H
#define STLAG_HYPER_LINK_H

#include <windows.h>

#include <functional>
#include <string>

#include "hyperlink_logic.h"
#include "link_accessible.h"
#include "link_contrast.h"
#include "window.h"

namespace stlag {

class CHyperLink : public CWindow {
public:
    // Opens a target; a result above 32 is a success, anything else an error code for the
    // error box. Replaceable so that tests can see what a link starts.
    using Launcher = std::function<int(const std::string& target)>;

    CHyperLink();
    CHyperLink(const CHyperLink&) = delete;
    CHyperLink& operator=(const CHyperLink&) = delete;
    virtual ~CHyperLink();

    void SetLauncher(Launcher launcher) { launcher_ = std::move(launcher); }

    // Operations
    // Takes over the control: set-up, then its messages come here. Does nothing for a
    // control already taken over or a null handle.
    void SubclassControl(HWND control);
    // The new target and tooltip text; the shown text stays as it is.
    void SetLinkTarget(std::string target);
    // Opens the target; marks the link visited, or beeps and shows the error box.
    void ActivateLink();
    // After a DPI change: the underline put on the font the dialog manager gave the control for
    // the new DPI, the control fitted to it, the tooltip's area and font at the new DPI.
    void FollowDpi();

    const std::string& Target() const { return target_; }
    bool Visited() const { return visited_; }

private:
    void SetUp();
    void CreateToolTip();
    void FitWindowToText();
    void FitToolTip();
    // Shows the text in an underlined copy of font, the copy before it deleted.
    void Underline(HFONT font);
    static void LoadHandCursor();
    void Invalidate() const { ::InvalidateRect(window_, nullptr, TRUE); }

    // Handlers
    static LRESULT CALLBACK LinkProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT WindowProcedure(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const;
    LRESULT OnCtlColor(HDC dc) const;
    LRESULT OnSetCursor() const;
    LRESULT OnLButtonDown();
    LRESULT OnLButtonUp();
    LRESULT OnFocus(bool gained);
    LRESULT OnKey(UINT message, WPARAM key, LPARAM flags);
    LRESULT OnNcDestroy(UINT message, WPARAM wParam, LPARAM lParam);
    // In link_accessible.cpp: the accessible object of the client area.
    LRESULT OnGetObject(UINT message, WPARAM wParam, LPARAM lParam);
    // In link_contrast.cpp: a high-contrast theme switched on or off, or the system's colours changed.
    LRESULT OnSystemChange(UINT message, WPARAM wParam, LPARAM lParam);

    std::string target_;
    Launcher launcher_;
    bool hasFocus_ = false;
    bool visited_ = false;
    bool highContrast_ = HighContrastOn();
    // Fitting needs the control's font; a control without one keeps its size.
    bool fitsText_ = true;
    HFONT linkFont_ = nullptr;
    HWND toolTip_ = nullptr;
    HFONT tipFont_ = nullptr;
    WNDPROC staticProcedure_ = nullptr;
    LinkAccessibility accessibility_;
    static HCURSOR handCursor_;
};

}  // namespace stlag

#endif
