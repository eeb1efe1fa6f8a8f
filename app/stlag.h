// The wizard sheet: owns the three pages and the two texts that pass between them.
#ifndef STLAG_STLAG_H
#define STLAG_STLAG_H

#include <windows.h>

#include <string>

#include "page1.h"
#include "page2.h"
#include "page3.h"
#include "property_sheet.h"

namespace stlag {

class CStlag : public CPropertySheet {
public:
    CStlag(UINT captionId, HWND parent, UINT startPage) : CPropertySheet(captionId, parent, startPage) {}

    // Adds the pages (indices 0, 1, 2), sets the wizard flags and loads the icon.
    void InitSheet();
    // The troubleshooting log window, modal over the sheet.
    void ShowLogWindow();
    // Opens ReadMe.txt beside the program; says so in a message box when that fails.
    void OpenReadMe();

    // The sheet of a sheet window, or null.
    static CStlag* FromHandle(HWND sheet) { return dynamic_cast<CStlag*>(CPropertySheet::FromHandle(sheet)); }
    // The sheet of a page window: its parent.
    static CStlag* FromPage(HWND page) { return FromHandle(::GetParent(page)); }

    CPage1 page1;
    CPage2 page2;
    CPage3 page3;
    std::string outcomeText;
    std::string logText;
    HICON appIcon = nullptr;  // a shared resource icon: never destroyed

protected:
    BOOL OnInitDialog() override;
    void OnSysCommand(UINT id, LPARAM param) override;
    bool OnHelpInfo(HELPINFO* info) override;
    bool OnCommand(WORD notifyCode, WORD id, HWND control) override;
};

}  // namespace stlag

#endif
