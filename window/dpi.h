// Pixel counts at the DPI a window is shown at. With per-monitor awareness a window's DPI is
// its monitor's; the calls that tell it came with Windows 10 and are looked up when the
// program runs, so that it still starts without them (the system's DPI stands in).
#ifndef STLAG_DPI_H
#define STLAG_DPI_H

#include <windows.h>

namespace stlag {

constexpr UINT kDefaultDpi = 96;  // 100 %: what dialog units and icon sizes are given for

// GetDpiForWindow where the system has it, else the system's (LOGPIXELSY of the screen).
UINT WindowDpi(HWND window);

// A length given at 96 DPI, at dpi.
inline int ScaleToDpi(int pixelsAt96, UINT dpi)
{
    return ::MulDiv(pixelsAt96, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}

// The program's icon id at sizeAt96 scaled to dpi, from the image of that size or the nearest
// one. Not shared: the caller destroys it.
HICON LoadIconForDpi(UINT id, int sizeAt96, UINT dpi);

// One icon of ours shown at a window's DPI: a new one replaces the old only once the window
// shows it, and the last is destroyed with the holder.
class DpiIcon {
public:
    DpiIcon() = default;
    DpiIcon(const DpiIcon&) = delete;
    DpiIcon& operator=(const DpiIcon&) = delete;
    ~DpiIcon() { Replace(nullptr); }

    // show(icon) hands it to the window; nothing changes when no icon could be loaded.
    template <typename Show>
    void Load(UINT id, int sizeAt96, UINT dpi, Show show)
    {
        const HICON icon = LoadIconForDpi(id, sizeAt96, dpi);
        if (icon == nullptr)
            return;
        show(icon);
        Replace(icon);
    }

private:
    void Replace(HICON icon)
    {
        if (icon_ != nullptr)
            ::DestroyIcon(icon_);
        icon_ = icon;
    }
    HICON icon_ = nullptr;
};

// The tooltips' and status bars' font at dpi; the caller deletes it.
HFONT CreateStatusFont(UINT dpi);

// Moves the window into its monitor's work area, shrunk to it where it is larger (a dialog in
// dialog units at a high DPI on a small screen); returns by how much it shrank.
SIZE FitToWorkArea(HWND window);

// For WM_DPICHANGED: moves the window to the rectangle the system suggests and returns the new DPI.
UINT MoveToSuggestedRect(HWND window, WPARAM wParam, LPARAM lParam);

}  // namespace stlag

#endif
