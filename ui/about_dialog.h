// The About box: icons, name and version, and three links (web page, contact address,
// read-me file). F1 in it opens the read-me file.
#ifndef STLAG_ABOUT_DIALOG_H
#define STLAG_ABOUT_DIALOG_H

#include "dialog.h"
#include "hyper_link.h"
#include "resource.h"

namespace stlag {

class CAboutDialog : public CDialog {
public:
    // No parent: the active window, the sheet, becomes the owner.
    CAboutDialog() : CDialog(IDD_ABOUT) {}

    CHyperLink readMeLink;
    CHyperLink webLink;
    CHyperLink mailLink;

protected:
    void DoDataExchange(bool save) override;
    BOOL OnInitDialog() override;
    bool OnHelpInfo(HELPINFO* info) override;
};

}  // namespace stlag

#endif
