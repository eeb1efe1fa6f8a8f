// A window handle and the calls made on it. Holds nothing else, so copies are cheap and
// never own the window.
#ifndef STLAG_WINDOW_H
#define STLAG_WINDOW_H

#include <windows.h>

#include <string>

namespace stlag {

class CWindow {
public:
    CWindow(HWND window = nullptr) : window_(window) {}  // NOLINT(google-explicit-constructor)
    operator HWND() const { return window_; }            // NOLINT(google-explicit-constructor)
    HWND GetHWND() const { return window_; }
    void Attach(HWND window) { window_ = window; }

    HWND GetParent() const { return ::GetParent(window_); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(window_, id); }
    bool ShowWindow(int command) const { return ::ShowWindow(window_, command) != 0; }
    bool EnableWindow(bool enable) const { return ::EnableWindow(window_, enable ? TRUE : FALSE) != 0; }
    bool IsWindowVisible() const { return ::IsWindowVisible(window_) != 0; }
    bool SetText(const std::string& text) const { return ::SetWindowTextA(window_, text.c_str()) != 0; }
    std::string GetText() const;
    // The text in UTF-16, which holds every character a window can show.
    bool SetWideText(const std::wstring& text) const { return ::SetWindowTextW(window_, text.c_str()) != 0; }
    std::wstring GetWideText() const;
    // The size of its text in its own font.
    SIZE GetTextExtent() const;
    // Its outer rectangle in its parent's client coordinates.
    RECT GetRectInParent() const;
    LRESULT SendMsg(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(window_, message, wParam, lParam);
    }
    bool PostMsg(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(window_, message, wParam, lParam) != 0;
    }
    HICON SetIcon(WPARAM size, HICON icon) const
    {
        return reinterpret_cast<HICON>(SendMsg(WM_SETICON, size, reinterpret_cast<LPARAM>(icon)));
    }

protected:
    HWND window_;
};

inline std::string CWindow::GetText() const
{
    const int length = ::GetWindowTextLengthA(window_);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(window_, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

inline std::wstring CWindow::GetWideText() const
{
    const int length = ::GetWindowTextLengthW(window_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window_, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

inline SIZE CWindow::GetTextExtent() const
{
    const std::string text = GetText();
    SIZE extent = {};
    if (const HDC dc = ::GetDC(window_)) {
        const HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMsg(WM_GETFONT)));
        ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        ::SelectObject(dc, previous);
        ::ReleaseDC(window_, dc);
    }
    return extent;
}

inline RECT CWindow::GetRectInParent() const
{
    RECT rect = {};
    ::GetWindowRect(window_, &rect);
    ::MapWindowPoints(nullptr, GetParent(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace stlag

#endif
