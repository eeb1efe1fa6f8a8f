// One page of a property sheet: a dialog whose sheet notifications arrive as OnSetActive
// and OnWizardNext.
#ifndef STLAG_PROPERTY_PAGE_H
#define STLAG_PROPERTY_PAGE_H

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include "dialog.h"

namespace stlag {

// The command of a page's Help button, by the framework's convention (ID_HELP).
constexpr WORD kHelpCommand = 0xE146;

class CPropertyPage : public CDialog {
public:
    // The template's own caption is the page's title.
    explicit CPropertyPage(UINT templateId);

    const PROPSHEETPAGEW& PageHeader() const { return page_; }

    // PSWIZB_ flags. Posted, so they take effect after the sheet has finished activating
    // the page, which sets its own buttons on the way.
    void SetWizardButtons(DWORD buttons) const { ::PostMessageA(GetParent(), PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(buttons)); }
    // Puts the focus on the wizard's Next button once the sheet has settled the page.
    void FocusNextButton() const
    {
        constexpr int kNextButton = 0x3024;  // comctl32's id of the wizard's Next button
        ::PostMessageA(GetParent(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(GetParent(), kNextButton)), TRUE);
    }
    // Makes the sheet show the page of that index.
    void GoToPage(int index) const { ::SendMessageA(GetParent(), PSM_SETCURSEL, static_cast<WPARAM>(index), 0); }

protected:
    // 0 lets the page become active; -1 refuses it.
    virtual LRESULT OnSetActive() { return 0; }
    // -1 keeps the page; 0 moves on to the next page; a template id jumps to that page.
    virtual LRESULT OnWizardNext() { return 0; }
    // FALSE lets the wizard close; TRUE keeps it open.
    virtual BOOL OnWizardFinish() { return FALSE; }

    // Sheet notifications go to the handlers above; a page has no OK or Cancel of its own.
    bool OnNotify(int id, NMHDR* header, LRESULT& result) override;
    bool OnCommand(WORD notifyCode, WORD id, HWND control) override;

private:
    // WM_INITDIALOG of a page carries the page header; the object is in its lParam.
    static INT_PTR CALLBACK PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    // Whether Next and Finish act: the page has been painted since it became active, the
    // double-click time has passed since, and an Enter key held down then has been let go.
    // A press before that is the second half of one meant for the page before.
    bool Settled() const;
    // Marks the page painted, and a held Enter let go, as the page's messages show them.
    void WatchForSettling(UINT message, WPARAM wParam);
    static bool EnterDown();

    static constexpr UINT_PTR kEnterTimer = 0x5354;  // watches a held Enter until it is let go

    PROPSHEETPAGEW page_;
    bool painted_ = false, enterHeld_ = false;
    DWORD paintedAt_ = 0;
};

}  // namespace stlag

#endif
