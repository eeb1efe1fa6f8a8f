#include "dialog.h"

#include <commctrl.h>

#include "dpi.h"

namespace stlag {

INT_PTR CDialog::DoModal()
{
    HWND parent = parent_;
    if (parent == nullptr) {
        const HWND active = ::GetActiveWindow();
        parent = active != nullptr ? ::GetAncestor(active, GA_ROOT) : nullptr;
    }
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent,
                             &CDialog::DialogProcedure, reinterpret_cast<LPARAM>(this));
}

// noexcept: an exception must not unwind through the system's frames; it ends the program here.
INT_PTR CALLBACK CDialog::DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(dialog));
        dialog->Attach(window);
        ::SetWindowSubclass(window, &CDialog::DpiSubclass, 0, reinterpret_cast<DWORD_PTR>(dialog));
    }
    auto* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (dialog == nullptr)
        return FALSE;  // messages before WM_INITDIALOG (WM_SETFONT) and after WM_NCDESTROY
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        dialog->Attach(nullptr);
        return FALSE;
    }
    return dialog->Dispatch(message, wParam, lParam);
}

LRESULT CALLBACK CDialog::DpiSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR object) noexcept
{
    if (message == WM_NCDESTROY)
        ::RemoveWindowSubclass(window, &CDialog::DpiSubclass, id);
    const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
    auto* dialog = reinterpret_cast<CDialog*>(object);
    // A top-level dialog gets WM_DPICHANGED; a page, a child dialog, hears of it after its parent.
    if (message == WM_DPICHANGED)
        dialog->OnDpiChanged(MoveToSuggestedRect(window, wParam, lParam));
    else if (message == WM_DPICHANGED_AFTERPARENT)
        dialog->OnDpiChanged(WindowDpi(window));
    return result;
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (!OnNotify(static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam), result))
            return FALSE;
        ::SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_PAINT:
        return OnPaint() ? TRUE : FALSE;
    case WM_HELP:
        return OnHelpInfo(reinterpret_cast<HELPINFO*>(lParam)) ? TRUE : FALSE;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        // The system tells top-level windows only; controls that follow the theme learn it here.
        ForwardToControls(message, wParam, lParam);
        return FALSE;
    case WM_CTLCOLORSTATIC:
        // A brush handle is the answer itself; 0 leaves the colours to the dialog manager.
        return static_cast<INT_PTR>(::SendMessageA(reinterpret_cast<HWND>(lParam), kReflectedCtlColorStatic, wParam, lParam));
    default:
        return FALSE;
    }
}

void CDialog::ForwardToControls(UINT message, WPARAM wParam, LPARAM lParam) const
{
    for (HWND child = ::GetWindow(window_, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageW(child, message, wParam, lParam);
}

bool CDialog::OnCommand(WORD /*notifyCode*/, WORD id, HWND /*control*/)
{
    if (id != IDOK && id != IDCANCEL)
        return false;
    EndDialog(id);
    return true;
}

bool CDialog::OnNotify(int /*id*/, NMHDR* /*header*/, LRESULT& /*result*/)
{
    return false;
}

void CDialog::DdxCheck(bool save, int id, bool& value) const
{
    if (save)
        value = ::IsDlgButtonChecked(window_, id) == BST_CHECKED;
    else
        ::CheckDlgButton(window_, id, value ? BST_CHECKED : BST_UNCHECKED);
}

void CDialog::DdxWideText(bool save, int id, std::wstring& value) const
{
    const CWindow control(GetDlgItem(id));
    if (save)
        value = control.GetWideText();
    else
        control.SetWideText(value);
}

}  // namespace stlag
