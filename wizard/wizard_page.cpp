#include "wizard_page.h"

#include "log_window.h"
#include "resource.h"

namespace stlag {

bool CWizardPage::OnCommand(WORD notifyCode, WORD id, HWND control)
{
    if (notifyCode == BN_CLICKED && id == IDC_LOG_BUTTON) {
        CLogWindow(state_.logText).DoModal();
        return true;
    }
    return CPropertyPage::OnCommand(notifyCode, id, control);
}

}  // namespace stlag
