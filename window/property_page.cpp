#include "property_page.h"


namespace stlag {

CPropertyPage::CPropertyPage(UINT templateId) : CDialog(templateId), page_()
{
    page_.dwSize = sizeof page_;
    page_.dwFlags = PSP_HASHELP;
    page_.hInstance = ::GetModuleHandleA(nullptr);
    page_.pszTemplate = MAKEINTRESOURCEA(templateId);
    page_.pfnDlgProc = &CPropertyPage::PageProcedure;
    page_.lParam = reinterpret_cast<LPARAM>(this);
}

INT_PTR CALLBACK CPropertyPage::PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_INITDIALOG)
        lParam = reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam;
    return DialogProcedure(window, message, wParam, lParam);
}

bool CPropertyPage::OnNotify(int /*id*/, NMHDR* header, LRESULT& result)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        result = OnSetActive();
        return true;
    case PSN_WIZNEXT:
        result = OnWizardNext();
        return true;
    case PSN_HELP:
        // The Help button is the help command of the page; what no page takes goes to the sheet.
        if (!OnCommand(0, kHelpCommand, nullptr))
            ::SendMessageA(GetParent(), WM_COMMAND, MAKEWPARAM(kHelpCommand, 0), 0);
        result = 0;
        return true;
    default:
        return false;
    }
}

bool CPropertyPage::OnCommand(WORD /*notifyCode*/, WORD /*id*/, HWND /*control*/)
{
    return false;
}

}  // namespace stlag
