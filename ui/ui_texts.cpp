#include "ui_texts.h"

#include "resource.h"
#include "win32_platform.h"

namespace stlag {

std::string LoadText(unsigned id)
{
    return ResourceTexts().Load(id);
}

int AppMessageBox(HWND owner, const std::string& text, UINT style)
{
    return ::MessageBoxA(owner, text.c_str(), LoadText(IDS_APP_TITLE).c_str(), style);
}

}  // namespace stlag
