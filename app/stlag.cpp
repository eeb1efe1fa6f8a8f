#include "stlag.h"

#include "about_dialog.h"
#include "log_dialog.h"
#include "readme_opener.h"
#include "resource.h"
#include "ui_texts.h"

namespace stlag {

void CStlag::InitSheet()
{
    AddPage(page1);
    AddPage(page2);
    AddPage(page3);
    Flags() |= PSH_NOAPPLYNOW;
    Flags() |= PSH_HASHELP;
    Flags() |= PSH_WIZARD;
    appIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP));
}

BOOL CStlag::OnInitDialog()
{
    const BOOL result = CPropertySheet::OnInitDialog();
    if (const HMENU systemMenu = ::GetSystemMenu(window_, FALSE)) {
        const std::string about = LoadText(IDS_ABOUTBOX);
        if (!about.empty()) {
            ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, about.c_str());
        }
    }
    SetIcon(ICON_BIG, appIcon);
    SetIcon(ICON_SMALL, appIcon);
    return result;
}

void CStlag::ShowLogWindow()
{
    // No parent: the active window, this sheet, becomes the owner, where the window finds the log.
    CLogDialog(nullptr).DoModal();
}

void CStlag::OnSysCommand(UINT id, LPARAM param)
{
    // The system keeps the low four bits of a command id for itself.
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDialog().DoModal();
        return;
    }
    CPropertySheet::OnSysCommand(id, param);
}

bool CStlag::OnHelpInfo(HELPINFO* /*info*/)
{
    OpenReadMe();
    return true;
}

bool CStlag::OnCommand(WORD notifyCode, WORD id, HWND /*control*/)
{
    if (notifyCode != 0 || id != ID_HELP)
        return false;
    OpenReadMe();
    return true;
}

void CStlag::OpenReadMe()
{
    if (!OpenProgramFile("ReadMe.txt"))
        AppMessageBox(window_, LoadText(IDS_README_FAILED), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace stlag
