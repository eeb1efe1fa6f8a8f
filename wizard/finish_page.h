// The finish page: shows the outcome of the run; Finish ends the program.
#ifndef STLAG_FINISH_PAGE_H
#define STLAG_FINISH_PAGE_H

#include "edit.h"
#include "resource.h"
#include "wizard_page.h"

namespace stlag {

class CFinishPage : public CWizardPage {
public:
    explicit CFinishPage(WizardState& state) : CWizardPage(IDD_FINISH_PAGE, state) {}

protected:
    void DoDataExchange(bool save) override;
    // FALSE: the focus is not put on the first control, so the text is not selected.
    BOOL OnInitDialog() override;
    // 0: the page becomes active, with Finish only.
    LRESULT OnSetActive() override;
    // true: painted; the first paint puts the caret at the start of the outcome.
    bool OnPaint() override;

private:
    CEdit outcomeEdit_;
    bool firstPaint_ = true;
};

}  // namespace stlag

#endif
