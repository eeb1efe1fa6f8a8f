#include "property_sheet.h"

#include "dpi.h"
#include "texts.h"

namespace stlag {

namespace {
// The callback of PropertySheetW carries no data of ours; the sheet being built is kept
// here for the length of DoModal (one user-interface thread, no nested sheets).
CPropertySheet* sheetBeingCreated = nullptr;
}  // namespace

CPropertySheet::CPropertySheet(UINT captionId, HWND parent, UINT startPage)
    : caption_(LoadWideText(captionId)), parent_(parent), startPage_(startPage)
{
}

INT_PTR CPropertySheet::DoModal()
{
    std::vector<PROPSHEETPAGEW> pageHeaders;
    for (const CPropertyPage* page : pages_)
        pageHeaders.push_back(page->PageHeader());

    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof header;
    header.dwFlags = flags_ | PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    header.hwndParent = parent_;
    header.hInstance = ::GetModuleHandleW(nullptr);
    header.pszCaption = caption_.c_str();
    header.nPages = static_cast<UINT>(pageHeaders.size());
    header.nStartPage = startPage_;
    header.ppsp = pageHeaders.data();
    header.pfnCallback = &CPropertySheet::SheetCallback;

    sheetBeingCreated = this;
    const INT_PTR result = ::PropertySheetW(&header);
    sheetBeingCreated = nullptr;
    return result;
}

int CALLBACK CPropertySheet::SheetCallback(HWND window, UINT message, LPARAM /*lParam*/) noexcept
{
    if (message != PSCB_INITIALIZED || sheetBeingCreated == nullptr)
        return 0;
    CPropertySheet* sheet = sheetBeingCreated;
    sheet->Attach(window);
    ::SetWindowSubclass(window, &CPropertySheet::SheetSubclass, 0, reinterpret_cast<DWORD_PTR>(sheet));
    sheet->OnInitDialog();
    return 0;
}

void CPropertySheet::OnSysCommand(UINT id, LPARAM param)
{
    ::DefSubclassProc(window_, WM_SYSCOMMAND, id, param);
}

LRESULT CALLBACK CPropertySheet::SheetSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                               DWORD_PTR object) noexcept
{
    auto* sheet = reinterpret_cast<CPropertySheet*>(object);
    switch (message) {
    case WM_SYSCOMMAND:
        sheet->OnSysCommand(static_cast<UINT>(wParam), lParam);
        return 0;
    case WM_HELP:
        if (sheet->OnHelpInfo(reinterpret_cast<HELPINFO*>(lParam)))
            return TRUE;
        break;
    case WM_COMMAND:
        if (sheet->OnCommand(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam)))
            return 0;
        break;
    case WM_DPICHANGED: {
        // The dialog manager rescales the sheet first, where the system does (Windows 10 1703 on).
        const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
        sheet->OnDpiChanged(MoveToSuggestedRect(window, wParam, lParam));
        return result;
    }
    default:
        break;
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(window, &CPropertySheet::SheetSubclass, id);
        reinterpret_cast<CPropertySheet*>(object)->Attach(nullptr);
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace stlag
