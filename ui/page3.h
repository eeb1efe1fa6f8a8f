// The finish page: shows the outcome of the run; Finish ends the program.
#ifndef STLAG_PAGE3_H
#define STLAG_PAGE3_H

#include "edit.h"
#include "property_page.h"
#include "resource.h"

namespace stlag {

class CPage3 : public CPropertyPage {
public:
    CPage3() : CPropertyPage(IDD_PAGE3) {}

    CEdit outcomeEdit;

protected:
    void DoDataExchange(bool save) override;
    // FALSE: the focus is not put on the first control, so the text is not selected.
    BOOL OnInitDialog() override;
    LRESULT OnSetActive() override;
    bool OnPaint() override;
    bool OnCommand(WORD notifyCode, WORD id, HWND control) override;

private:
    void OnLogButton();
};

}  // namespace stlag

#endif
