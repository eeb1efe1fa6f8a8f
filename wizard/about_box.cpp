#include "about_box.h"

#include "dpi.h"
#include "link_launcher.h"
#include "win32_platform.h"

#include "property_page.h"
#include "readme_opener.h"
#include "texts.h"

namespace stlag {

void CAboutBox::DoDataExchange(bool save)
{
    if (save)
        return;
    readMeLink_.SubclassControl(GetDlgItem(IDC_README_LINK));
    webLink_.SubclassControl(GetDlgItem(IDC_WEB_LINK));
    mailLink_.SubclassControl(GetDlgItem(IDC_MAIL_LINK));
}

BOOL CAboutBox::OnInitDialog()
{
    CDialog::OnInitDialog();
    webLink_.SetLinkTarget(LoadText(IDS_WEB_TARGET));
    mailLink_.SetLinkTarget(LoadText(IDS_MAIL_TARGET));
    // Shown in the ANSI code page, opened whole: the program's folder may be named in any script.
    const std::wstring readMe = GetProgramFolder() + LoadWideText(IDS_README_LINK_NAME);
    bool whole = true;
    readMeLink_.SetLinkTarget(WideToAnsi(readMe.data(), readMe.size(), whole));
    if (!whole)
        readMeLink_.SetLauncher([readMe](const std::string&) { return ShellOpen(readMe, SW_SHOW); });
    PlaceReadMeLink();
    ShowIcons(WindowDpi(window_));
    return TRUE;
}

void CAboutBox::OnDpiChanged(UINT dpi)
{
    ShowIcons(dpi);
    for (CHyperLink* link : {&webLink_, &mailLink_, &readMeLink_})
        link->FollowDpi();
    PlaceReadMeLink();
}

// The template's icons are the system's icon size at 96 DPI, 32 pixels; the box shows the
// images drawn for its own DPI (48 at 150 %, 64 at 200 %).
void CAboutBox::ShowIcons(UINT dpi)
{
    const auto into = [this](int control) {
        return [this, control](HICON icon) {
            ::SendDlgItemMessageW(window_, control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        };
    };
    appIcon_.Load(IDI_APP, 32, dpi, into(IDC_APP_ICON));
    monoIcon_.Load(IDI_APP_MONO, 32, dpi, into(IDC_MONO_ICON));
}

// The sentence runs on into the link, whatever width the font gives it.
void CAboutBox::PlaceReadMeLink() const
{
    const CWindow sentence(GetDlgItem(IDC_README_SENTENCE));
    const RECT box = sentence.GetRectInParent();
    const SIZE extent = sentence.GetTextExtent();
    ::MoveWindow(sentence, box.left, box.top, extent.cx, box.bottom - box.top, TRUE);
    ::SetWindowPos(readMeLink_, nullptr, box.left + extent.cx, box.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

bool CAboutBox::OnHelpInfo(HELPINFO* /*info*/)
{
    // Handed on, F1 would reach the sheet as well, which opens the file a second time or
    // reports a failure the box keeps quiet about. It opens once the sent message is handled,
    // as the sheet's does.
    PostMsg(WM_COMMAND, kHelpCommand, 0);
    return true;
}

bool CAboutBox::OnCommand(WORD notifyCode, WORD id, HWND control)
{
    if (notifyCode != 0 || id != kHelpCommand)
        return CDialog::OnCommand(notifyCode, id, control);
    OpenProgramFile(kReadMeFileName);
    return true;
}

}  // namespace stlag
