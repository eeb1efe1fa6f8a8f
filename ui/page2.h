// The repair page: scans when it is first shown, lists the findings, and repairs the
// ticked ones on Next.
#ifndef STLAG_PAGE2_H
#define STLAG_PAGE2_H

#include <string>

#include "list_view.h"
#include "property_page.h"
#include "resource.h"
#include "run_entry_fix.h"

namespace stlag {

class CPage2 : public CPropertyPage {
public:
    CPage2() : CPropertyPage(IDD_PAGE2) {}

    // Rebuilds the list from findings: row i shows finding i, every row ticked.
    void FillFindingList();
    // Shows and enables the advanced controls when advancedMode is 1, hides them when 0.
    void UpdateAdvancedMode();

    RunEntryFixList findings;
    CListView listCtrl;
    int advancedMode = 0;
    std::string backupFileName;

protected:
    void DoDataExchange(bool save) override;
    BOOL OnInitDialog() override;
    LRESULT OnSetActive() override;
    // -1 when the repair refused to start (it has told the user why), so the page stays.
    LRESULT OnWizardNext() override;
    bool OnPaint() override;
    bool OnCommand(WORD notifyCode, WORD id, HWND control) override;

private:
    int ScanRunKeys();
    void OnBrowseButton();
    void OnLogButton();
};

}  // namespace stlag

#endif
