// The About box: icons, name and version, and three links (web page, contact address,
// read-me file). F1 in it opens the read-me file.
#ifndef STLAG_ABOUT_BOX_H
#define STLAG_ABOUT_BOX_H

#include "dialog.h"
#include "dpi.h"
#include "hyper_link.h"
#include "resource.h"

namespace stlag {

class CAboutBox : public CDialog {
public:
    // No parent: the active window, the wizard, becomes the owner.
    CAboutBox() : CDialog(IDD_ABOUT) {}

protected:
    void DoDataExchange(bool save) override;
    BOOL OnInitDialog() override;
    // true: F1 is handled here, whether or not the file opens.
    bool OnHelpInfo(HELPINFO* info) override;
    bool OnCommand(WORD notifyCode, WORD id, HWND control) override;
    // Icons in the size for the new DPI, the links fitted to their new fonts.
    void OnDpiChanged(UINT dpi) override;

private:
    void PlaceReadMeLink() const;
    void ShowIcons(UINT dpi);

    CHyperLink readMeLink_;
    CHyperLink webLink_;
    CHyperLink mailLink_;
    DpiIcon appIcon_, monoIcon_;  // the colour and the black-and-white icon at the box's DPI
};

}  // namespace stlag

#endif
