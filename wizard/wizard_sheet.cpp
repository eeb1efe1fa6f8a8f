#include "wizard_sheet.h"

#include "about_box.h"
#include "dpi.h"
#include "readme_opener.h"
#include "resource.h"
#include "texts.h"

namespace stlag {

CWizardSheet::CWizardSheet(WizardState& state, LiveEngine& engine)
    : CPropertySheet(IDS_APP_TITLE, nullptr, 0), startPage_(state), repairPage_(state, engine), finishPage_(state)
{
    AddPage(startPage_);
    AddPage(repairPage_);
    AddPage(finishPage_);
    Flags() |= PSH_NOAPPLYNOW | PSH_HASHELP | PSH_WIZARD;
}

BOOL CWizardSheet::OnInitDialog()
{
    const BOOL result = CPropertySheet::OnInitDialog();
    if (const HMENU systemMenu = ::GetSystemMenu(window_, FALSE)) {
        const std::string about = LoadText(IDS_ABOUTBOX);
        if (!about.empty()) {
            ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, about.c_str());
        }
    }
    SetIcons(WindowDpi(window_));
    return result;
}

// The system's big and small icon sizes at 96 DPI, scaled to the sheet's.
void CWizardSheet::SetIcons(UINT dpi)
{
    bigIcon_.Load(IDI_APP, 32, dpi, [this](HICON icon) { SetIcon(ICON_BIG, icon); });
    smallIcon_.Load(IDI_APP, 16, dpi, [this](HICON icon) { SetIcon(ICON_SMALL, icon); });
}

void CWizardSheet::OnSysCommand(UINT id, LPARAM param)
{
    // The system keeps the low four bits of a command id for itself.
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutBox().DoModal();
        return;
    }
    CPropertySheet::OnSysCommand(id, param);
}

bool CWizardSheet::OnHelpInfo(HELPINFO* /*info*/)
{
    // WM_HELP comes as a sent message, and a call into the desktop's shell made inside one may
    // be refused or wait on its sender: the read-me opens once the message is handled.
    PostMsg(WM_COMMAND, kHelpCommand, 0);
    return true;
}

bool CWizardSheet::OnCommand(WORD notifyCode, WORD id, HWND /*control*/)
{
    if (notifyCode != 0 || id != kHelpCommand)
        return false;
    OpenReadMe();
    return true;
}

void CWizardSheet::OpenReadMe() const
{
    if (!OpenProgramFile(kReadMeFileName))
        AppMessageBox(window_, LoadText(IDS_README_FAILED), MB_OK | MB_ICONEXCLAMATION);
}

void RunWizard()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The user who ran the wizard undoes its repair by double-clicking the backup.
    LiveEngine engine(BackupAccess::AlsoTheUser);
    WizardState state;
    CWizardSheet(state, engine).DoModal();
}

}  // namespace stlag
