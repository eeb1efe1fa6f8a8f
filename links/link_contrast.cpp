#include "link_contrast.h"

#include "hyper_link.h"
#include "hyperlink_logic.h"

namespace stlag {

bool HighContrastOn()
{
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof contrast;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != FALSE &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

COLORREF LinkTextColor(bool highContrast, bool hasFocus, bool visited)
{
    if (!highContrast)
        return ChooseTextColor(hasFocus, visited);
    return ::GetSysColor(visited && !hasFocus ? COLOR_GRAYTEXT : COLOR_HOTLIGHT);
}

// The system tells only top-level windows that a theme or its colours changed; the dialog
// hands it on to its controls.
LRESULT CHyperLink::OnSystemChange(UINT message, WPARAM wParam, LPARAM lParam)
{
    highContrast_ = HighContrastOn();
    Invalidate();
    return Default(message, wParam, lParam);
}

}  // namespace stlag
