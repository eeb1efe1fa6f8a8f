#include "dpi.h"

#include <algorithm>

namespace stlag {

namespace {
// A call of user32 that older systems lack, or null.
template <class Proc> Proc User32Call(const char* name)
{
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    // Through the one function pointer type that casts to any other without a warning.
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(::GetProcAddress(user32, name)));
}

UINT SystemDpi()
{
    const HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}
}  // namespace

UINT WindowDpi(HWND window)
{
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Call<GetDpiForWindowCall>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow != nullptr && window != nullptr ? getDpiForWindow(window) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}

HICON LoadIconForDpi(UINT id, int sizeAt96, UINT dpi)
{
    const int size = ScaleToDpi(sizeAt96, dpi);
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size,
                                           LR_DEFAULTCOLOR));
}

HFONT CreateStatusFont(UINT dpi)
{
    using ParametersForDpiCall = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    static const auto parametersForDpi = User32Call<ParametersForDpiCall>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    const bool scaled = parametersForDpi != nullptr &&
                        parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi) != FALSE;
    // Without the call the system's DPI is every window's, and the system's metrics are at it.
    if (!scaled && ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) == FALSE)
        return nullptr;
    return ::CreateFontIndirectW(&metrics.lfStatusFont);
}

SIZE FitToWorkArea(HWND window)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    RECT box = {};
    if (!::GetWindowRect(window, &box) ||
        !::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return SIZE{0, 0};
    const RECT& work = monitor.rcWork;
    const LONG width = std::min(box.right - box.left, work.right - work.left);
    const LONG height = std::min(box.bottom - box.top, work.bottom - work.top);
    const LONG left = std::clamp(box.left, work.left, work.right - width);
    const LONG top = std::clamp(box.top, work.top, work.bottom - height);
    ::SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return SIZE{box.right - box.left - width, box.bottom - box.top - height};
}

UINT MoveToSuggestedRect(HWND window, WPARAM wParam, LPARAM lParam)
{
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    ::SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    return HIWORD(wParam);
}

}  // namespace stlag
