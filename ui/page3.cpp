#include "page3.h"

#include "stlag.h"

namespace stlag {

namespace {
// Cleared by the page's first paint, for the rest of the process.
bool firstPaint = true;
}  // namespace

void CPage3::DoDataExchange(bool /*save*/)
{
    DdxControl(IDC_OUTCOME_EDIT, outcomeEdit);
}

BOOL CPage3::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    if (const CStlag* sheet = CStlag::FromPage(window_))
        outcomeEdit.SetText(sheet->outcomeText);
    return FALSE;
}

LRESULT CPage3::OnSetActive()
{
    ::PostMessageA(GetSheet(), PSM_SETWIZBUTTONS, 0, PSWIZB_FINISH);
    return CPropertyPage::OnSetActive();
}

bool CPage3::OnPaint()
{
    PAINTSTRUCT paint;
    ::BeginPaint(window_, &paint);
    // Once only: a selection the user makes later is left alone.
    if (firstPaint) {
        outcomeEdit.SetSel(0, 0);
        outcomeEdit.ScrollCaret();
        firstPaint = false;
    }
    ::EndPaint(window_, &paint);
    return true;
}

bool CPage3::OnCommand(WORD notifyCode, WORD id, HWND control)
{
    if (notifyCode == BN_CLICKED && id == IDC_LOG_BUTTON) {
        OnLogButton();
        return true;
    }
    return CPropertyPage::OnCommand(notifyCode, id, control);
}

void CPage3::OnLogButton()
{
    if (CStlag* sheet = CStlag::FromPage(window_))
        sheet->ShowLogWindow();
}

}  // namespace stlag
