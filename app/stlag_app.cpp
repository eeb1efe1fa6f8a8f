#include "stlag_app.h"

#include <commctrl.h>

#include "resource.h"
#include "stlag.h"

namespace stlag {

CStlagApp theApp;

BOOL CStlagApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    CStlag sheet(IDS_APP_TITLE, nullptr, 0);
    sheet.InitSheet();
    sheet.DoModal();
    return FALSE;
}

}  // namespace stlag

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/)
{
    stlag::theApp.InitInstance();
    return 0;
}
