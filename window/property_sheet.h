// A modal property sheet over comctl32's PropertySheetW, its windows Unicode ones. Its pages are handed what they
// need when they are made; none of them reaches back to the sheet object.
#ifndef STLAG_PROPERTY_SHEET_H
#define STLAG_PROPERTY_SHEET_H

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "property_page.h"
#include "window.h"

namespace stlag {

class CPropertySheet : public CWindow {
public:
    // The caption is loaded from the string table.
    CPropertySheet(UINT captionId, HWND parent, UINT startPage);
    CPropertySheet(const CPropertySheet&) = delete;
    CPropertySheet& operator=(const CPropertySheet&) = delete;
    virtual ~CPropertySheet() = default;

    // Pages are shown in the order they were added; that order gives their indices.
    void AddPage(CPropertyPage& page) { pages_.push_back(&page); }
    // PSH_ flags of the sheet header.
    DWORD& Flags() { return flags_; }

    // Returns when Finish, Cancel or the close box has closed the sheet.
    INT_PTR DoModal();


protected:
    // Runs once, when the sheet window and its first page exist.
    virtual BOOL OnInitDialog() { return TRUE; }
    // WM_SYSCOMMAND; the base carries out the system's own commands (move, size, close).
    virtual void OnSysCommand(UINT id, LPARAM param);
    // WM_HELP (F1 in the sheet or one of its pages); true: handled.
    virtual bool OnHelpInfo(HELPINFO* /*info*/) { return false; }
    // A WM_COMMAND that reaches the sheet window; true: handled. The sheet's own buttons
    // go to comctl32 when this answers false.
    virtual bool OnCommand(WORD /*notifyCode*/, WORD /*id*/, HWND /*control*/) { return false; }
    // The sheet stands in the rectangle the system suggested for its new DPI; its pages hear of it
    // after it (WM_DPICHANGED_AFTERPARENT).
    virtual void OnDpiChanged(UINT /*dpi*/) {}

private:
    static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam) noexcept;
    static LRESULT CALLBACK SheetSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR object) noexcept;

    std::wstring caption_;
    HWND parent_;
    UINT startPage_;
    DWORD flags_ = 0;
    std::vector<CPropertyPage*> pages_;
};

}  // namespace stlag

#endif
