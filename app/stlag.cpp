#include "stlag.h"

#include "log_dialog.h"
#include "resource.h"

namespace stlag {

void CStlag::InitSheet()
{
    AddPage(page1);
    AddPage(page2);
    AddPage(page3);
    Flags() |= PSH_NOAPPLYNOW;
    Flags() |= PSH_HASHELP;
    Flags() |= PSH_WIZARD;
    appIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP));
}

BOOL CStlag::OnInitDialog()
{
    const BOOL result = CPropertySheet::OnInitDialog();
    SetIcon(ICON_BIG, appIcon);
    SetIcon(ICON_SMALL, appIcon);
    return result;
}

void CStlag::ShowLogWindow()
{
    // No parent: the active window, this sheet, becomes the owner, where the window finds the log.
    CLogDialog(nullptr).DoModal();
}

}  // namespace stlag
