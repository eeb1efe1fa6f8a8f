// The start page: what the program does; Next starts the search.
#ifndef STLAG_START_PAGE_H
#define STLAG_START_PAGE_H

#include "resource.h"
#include "wizard_page.h"

namespace stlag {

class CStartPage : public CWizardPage {
public:
    explicit CStartPage(WizardState& state) : CWizardPage(IDD_START_PAGE, state) {}

protected:
    // 0: the page becomes active, with Next only.
    LRESULT OnSetActive() override;
    // true: handled; "Om..." opens the About box.
    bool OnCommand(WORD notifyCode, WORD id, HWND control) override;
};

}  // namespace stlag

#endif
