#include "page1.h"

namespace stlag {

LRESULT CPage1::OnSetActive()
{
    // Posted, so it takes effect after the sheet has finished activating the page.
    ::PostMessageA(GetSheet(), PSM_SETWIZBUTTONS, 0, PSWIZB_NEXT);
    return CPropertyPage::OnSetActive();
}

}  // namespace stlag
