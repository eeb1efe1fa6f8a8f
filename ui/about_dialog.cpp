#include "about_dialog.h"

#include "readme_opener.h"
#include "ui_texts.h"

namespace stlag {

void CAboutDialog::DoDataExchange(bool save)
{
    if (save)
        return;
    readMeLink.SubclassControl(GetDlgItem(IDC_README_LINK));
    webLink.SubclassControl(GetDlgItem(IDC_WEB_LINK));
    mailLink.SubclassControl(GetDlgItem(IDC_MAIL_LINK));
}

BOOL CAboutDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    webLink.SetLinkTarget(LoadText(IDS_WEB_TARGET));
    mailLink.SetLinkTarget(LoadText(IDS_MAIL_TARGET));
    readMeLink.SetLinkTarget(GetProgramFolder() + LoadText(IDS_README_LINK_NAME));
    return TRUE;
}

bool CAboutDialog::OnHelpInfo(HELPINFO* /*info*/)
{
    // Handled here whatever the outcome: handed on, F1 would reach the sheet as well, which
    // opens the file a second time or reports a failure the box keeps quiet about.
    OpenProgramFile("ReadMe.txt");
    return true;
}

}  // namespace stlag
