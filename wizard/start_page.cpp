#include "start_page.h"

#include "about_box.h"

namespace stlag {

LRESULT CStartPage::OnSetActive()
{
    SetWizardButtons(PSWIZB_NEXT);
    // Enter goes on, rather than opening the About box.
    FocusNextButton();
    return CWizardPage::OnSetActive();
}

bool CStartPage::OnCommand(WORD notifyCode, WORD id, HWND control)
{
    if (notifyCode == BN_CLICKED && id == IDC_ABOUT_BUTTON) {
        CAboutBox().DoModal();
        return true;
    }
    return CWizardPage::OnCommand(notifyCode, id, control);
}

}  // namespace stlag
