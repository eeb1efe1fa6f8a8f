// The repair page: scans when it is first made, lists the findings, and repairs the
// ticked ones on Next.
#ifndef STLAG_REPAIR_PAGE_H
#define STLAG_REPAIR_PAGE_H

#include <string>

#include "list_view.h"
#include "live_engine.h"
#include "resource.h"
#include "wizard_page.h"

namespace stlag {

class CRepairPage : public CWizardPage {
public:
    CRepairPage(WizardState& state, LiveEngine& engine) : CWizardPage(IDD_REPAIR_PAGE, state), engine_(engine) {}

protected:
    void DoDataExchange(bool save) override;
    // TRUE: the dialog manager puts the focus on the first tab stop.
    BOOL OnInitDialog() override;
    // 0: the page becomes active, with Next only.
    LRESULT OnSetActive() override;
    // -1 when the repair refused to start (the user has been told why), so the page stays;
    // 0 moves on to the finish page.
    LRESULT OnWizardNext() override;
    // true: painted; with nothing found, the first paint goes on to the finish page.
    bool OnPaint() override;
    // true: handled; the advanced check box and the browse button are handled here.
    bool OnCommand(WORD notifyCode, WORD id, HWND control) override;
    // The columns share the list's new width.
    void OnDpiChanged(UINT /*dpi*/) override { FitColumns(); }

private:
    void Scan();
    void InsertColumns() const;
    // Rebuilds the list from the state's findings: row i shows finding i, every row ticked.
    void FillFindingList() const;
    void FitColumns() const;
    void ShowBackupField();
    // Shows and enables the advanced controls in advanced mode, hides them otherwise.
    void UpdateAdvancedMode();
    void OnBrowseButton();

    LiveEngine& engine_;
    CListView findingList_;
    bool advancedMode_ = false;
    std::string backupFileName_;  // UTF-8
    bool firstPaint_ = true;
};

}  // namespace stlag

#endif
