// A page of the wizard: it is given the wizard's state, and its "Felsökningslogg..."
// button, where it has one, shows the log of that state.
#ifndef STLAG_WIZARD_PAGE_H
#define STLAG_WIZARD_PAGE_H

#include "property_page.h"
#include "wizard_state.h"

namespace stlag {

class CWizardPage : public CPropertyPage {
public:
    CWizardPage(UINT templateId, WizardState& state) : CPropertyPage(templateId), state_(state) {}

protected:
    // true: the command was handled; the log button is handled here.
    bool OnCommand(WORD notifyCode, WORD id, HWND control) override;

    WizardState& state_;
};

}  // namespace stlag

#endif
