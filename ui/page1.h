// The start page: what the program does; Next starts the search.
#ifndef STLAG_PAGE1_H
#define STLAG_PAGE1_H

#include "property_page.h"
#include "resource.h"

namespace stlag {

class CPage1 : public CPropertyPage {
public:
    CPage1() : CPropertyPage(IDD_PAGE1) {}

protected:
    LRESULT OnSetActive() override;
    bool OnCommand(WORD notifyCode, WORD id, HWND control) override;

private:
    void OnAboutButton();
};

}  // namespace stlag

#endif
