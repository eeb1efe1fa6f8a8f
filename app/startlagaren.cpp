// startlagaren.exe: the wizard.
#include <windows.h>

#include "wizard_sheet.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/)
{
    stlag::RunWizard();
    return 0;
}
