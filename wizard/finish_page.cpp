#include "finish_page.h"

#include "win32_platform.h"

namespace stlag {

void CFinishPage::DoDataExchange(bool /*save*/)
{
    DdxControl(IDC_OUTCOME_EDIT, outcomeEdit_);
}

BOOL CFinishPage::OnInitDialog()
{
    CWizardPage::OnInitDialog();
    // The backup's path whole, in whatever script its folders are named.
    outcomeEdit_.SetWideText(WideText(state_.outcome));
    return FALSE;
}

LRESULT CFinishPage::OnSetActive()
{
    SetWizardButtons(PSWIZB_FINISH);
    return CWizardPage::OnSetActive();
}

bool CFinishPage::OnPaint()
{
    PAINTSTRUCT paint;
    ::BeginPaint(window_, &paint);
    // Once only: a selection the user makes later is left alone.
    if (firstPaint_) {
        outcomeEdit_.SetSel(0, 0);
        outcomeEdit_.ScrollCaret();
        firstPaint_ = false;
    }
    ::EndPaint(window_, &paint);
    return true;
}

}  // namespace stlag
