#include "page1.h"

#include "about_dialog.h"

namespace stlag {

LRESULT CPage1::OnSetActive()
{
    // Posted, so it takes effect after the sheet has finished activating the page.
    ::PostMessageA(GetSheet(), PSM_SETWIZBUTTONS, 0, PSWIZB_NEXT);
    return CPropertyPage::OnSetActive();
}

bool CPage1::OnCommand(WORD notifyCode, WORD id, HWND control)
{
    if (notifyCode == BN_CLICKED && id == IDC_ABOUT_BUTTON) {
        OnAboutButton();
        return true;
    }
    return CPropertyPage::OnCommand(notifyCode, id, control);
}

void CPage1::OnAboutButton()
{
    CAboutDialog().DoModal();
}

}  // namespace stlag
