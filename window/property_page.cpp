#include "property_page.h"

namespace stlag {

CPropertyPage::CPropertyPage(UINT templateId) : CDialog(templateId), page_()
{
    page_.dwSize = sizeof page_;
    page_.dwFlags = PSP_HASHELP;
    page_.hInstance = ::GetModuleHandleW(nullptr);
    page_.pszTemplate = MAKEINTRESOURCEW(templateId);
    page_.pfnDlgProc = &CPropertyPage::PageProcedure;
    page_.lParam = reinterpret_cast<LPARAM>(this);
}

INT_PTR CALLBACK CPropertyPage::PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_INITDIALOG)
        lParam = reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam;
    auto* page = static_cast<CPropertyPage*>(reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, GWLP_USERDATA)));
    if (page != nullptr)
        page->WatchForSettling(message, wParam);
    return DialogProcedure(window, message, wParam, lParam);
}

bool CPropertyPage::EnterDown()
{
    return (::GetAsyncKeyState(VK_RETURN) & 0x8000) != 0;
}

void CPropertyPage::WatchForSettling(UINT message, WPARAM wParam)
{
    if (message == WM_PAINT && !painted_) {
        painted_ = true;
        paintedAt_ = ::GetTickCount();
    }
    // The key's release goes to whichever control has the focus, so it is watched for here.
    if (message == WM_TIMER && wParam == kEnterTimer && !EnterDown()) {
        enterHeld_ = false;
        ::KillTimer(window_, kEnterTimer);
    }
}

bool CPropertyPage::OnNotify(int /*id*/, NMHDR* header, LRESULT& result)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        painted_ = false;
        enterHeld_ = EnterDown();
        if (enterHeld_)
            ::SetTimer(window_, kEnterTimer, 30, nullptr);
        ::InvalidateRect(window_, nullptr, FALSE);  // shown already, it is painted again all the same
        result = OnSetActive();
        return true;
    case PSN_WIZNEXT:
        result = Settled() ? OnWizardNext() : -1;
        return true;
    case PSN_WIZFINISH:
        result = Settled() ? OnWizardFinish() : TRUE;
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

bool CPropertyPage::Settled() const
{
    return painted_ && !enterHeld_ && ::GetTickCount() - paintedAt_ >= ::GetDoubleClickTime();
}

bool CPropertyPage::OnCommand(WORD /*notifyCode*/, WORD /*id*/, HWND /*control*/)
{
    return false;
}

}  // namespace stlag
