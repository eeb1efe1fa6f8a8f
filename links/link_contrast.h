// The link control in a high-contrast theme: its text takes the system's colours, as every
// other text on the screen then does.
#ifndef STLAG_LINK_CONTRAST_H
#define STLAG_LINK_CONTRAST_H

#include <windows.h>

namespace stlag {

// Whether a high-contrast theme is on, as the system says now.
bool HighContrastOn();

// The link's text colour: its own without high contrast; with it, the system's colour of
// links, and its grey text for a visited link that has no focus (focus goes first, as in
// the link's own colours).
COLORREF LinkTextColor(bool highContrast, bool hasFocus, bool visited);

}  // namespace stlag

#endif
