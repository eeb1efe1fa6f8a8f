// The wizard: a sheet of three pages that only go forward, over one wizard state.
#ifndef STLAG_WIZARD_SHEET_H
#define STLAG_WIZARD_SHEET_H

#include <windows.h>

#include "dpi.h"
#include "finish_page.h"
#include "live_engine.h"
#include "property_sheet.h"
#include "repair_page.h"
#include "start_page.h"
#include "wizard_state.h"

namespace stlag {

class CWizardSheet : public CPropertySheet {
public:
    // The pages get state and engine; both must outlive the sheet.
    CWizardSheet(WizardState& state, LiveEngine& engine);

protected:
    // Adds the About entry to the system menu and sets the window's icons.
    BOOL OnInitDialog() override;
    // The About entry opens the About box; the system's own commands go on as usual.
    void OnSysCommand(UINT id, LPARAM param) override;
    // true: F1 anywhere in the wizard opens the read-me file.
    bool OnHelpInfo(HELPINFO* info) override;
    // true: handled; a page's Help button opens the read-me file.
    bool OnCommand(WORD notifyCode, WORD id, HWND control) override;
    // The title bar's and the taskbar's icons in the sizes for the new DPI.
    void OnDpiChanged(UINT dpi) override { SetIcons(dpi); }

private:
    void OpenReadMe() const;
    void SetIcons(UINT dpi);

    CStartPage startPage_;
    CRepairPage repairPage_;
    CFinishPage finishPage_;
    DpiIcon bigIcon_, smallIcon_;  // at the sheet's DPI
};

// Runs the whole wizard on the running system and returns when it closes.
void RunWizard();

}  // namespace stlag

#endif
