#include "hyper_link.h"

#include <commctrl.h>

#include <utility>

#include "dialog.h"
#include "link_launcher.h"

namespace stlag {

HCURSOR CHyperLink::handCursor = nullptr;

namespace {
constexpr UINT_PTR kToolId = 1;

// Signed coordinates of a mouse message or message position.
POINT PointOf(DWORD packed)
{
    return POINT{static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
}
}  // namespace

CHyperLink::~CHyperLink()
{
    // A control that outlives its object must not call into it any more.
    if (window_ != nullptr && ::IsWindow(window_) && staticProcedure_ != nullptr) {
        ::SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(staticProcedure_));
        ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    }
    if (linkFont != nullptr)
        ::DeleteObject(linkFont);
    if (toolTip != nullptr && ::IsWindow(toolTip))
        ::DestroyWindow(toolTip);
}

void CHyperLink::SubclassControl(HWND control)
{
    if (control == nullptr || staticProcedure_ != nullptr)
        return;
    Attach(control);
    PreSubclassWindow();
    ::SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    staticProcedure_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CHyperLink::LinkProcedure)));
}

void CHyperLink::PreSubclassWindow()
{
    if (target.empty())
        target = GetText();
    if (GetText().empty())
        SetText(target);

    const HFONT font = reinterpret_cast<HFONT>(SendMsg(WM_GETFONT));
    if (font != nullptr) {
        LOGFONTA description = {};
        ::GetObjectA(font, sizeof description, &description);
        description.lfUnderline = static_cast<BYTE>(options & HLO_UNDERLINE);
        linkFont = ::CreateFontIndirectA(&description);
        if (linkFont != nullptr)
            SendMsg(WM_SETFONT, reinterpret_cast<WPARAM>(linkFont), TRUE);
        FitWindowToText();
    } else {
        options &= ~HLO_FITTOTEXT;
    }

    if ((options & HLO_NOHANDCURSOR) == 0)
        LoadHandCursor();

    RECT client = {};
    ::GetClientRect(window_, &client);
    toolTip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, window_, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (toolTip != nullptr) {
        TTTOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = window_;
        tool.uId = kToolId;
        tool.rect = client;
        tool.lpszText = const_cast<char*>(target.c_str());
        ::SendMessageA(toolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CHyperLink::SetLinkTarget(std::string newTarget)
{
    target = std::move(newTarget);
    if (window_ == nullptr || !::IsWindow(window_))
        return;
    ShowWindow(SW_HIDE);
    FitWindowToText();
    if (toolTip != nullptr) {
        TTTOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = window_;
        tool.uId = kToolId;
        tool.lpszText = const_cast<char*>(target.c_str());
        ::SendMessageA(toolTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    ShowWindow(SW_SHOW);
}

void CHyperLink::FitWindowToText()
{
    if ((options & HLO_FITTOTEXT) == 0)
        return;
    RECT window = {};
    ::GetWindowRect(window_, &window);
    if (const HWND parent = GetParent())
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
    RECT client = {};
    ::GetClientRect(window_, &client);

    const std::string text = GetText();
    SIZE extent = {};
    if (const HDC dc = ::GetDC(window_)) {
        const HGDIOBJ previous = linkFont != nullptr ? ::SelectObject(dc, linkFont) : nullptr;
        ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        if (previous != nullptr)
            ::SelectObject(dc, previous);
        ::ReleaseDC(window_, dc);
    }

    const auto style = static_cast<std::uint32_t>(::GetWindowLongA(window_, GWL_STYLE));
    const Placement placed =
        FitToText(PlainRect{window.left, window.top, window.right, window.bottom},
                  PlainRect{client.left, client.top, client.right, client.bottom}, extent.cx, extent.cy, style);
    ::MoveWindow(window_, placed.x, placed.y, placed.width, placed.height, TRUE);
}

void CHyperLink::LoadHandCursor()
{
    if (handCursor != nullptr)
        return;
    if (const HCURSOR system = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)))
        handCursor = static_cast<HCURSOR>(::CopyIcon(system));
    if (handCursor != nullptr)
        return;
    char path[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    const std::string helpProgram = std::string(path) + "\\winhlp32.exe";
    if (const HMODULE module = ::LoadLibraryA(helpProgram.c_str())) {
        if (const HCURSOR hand = ::LoadCursorA(module, MAKEINTRESOURCEA(106)))
            handCursor = static_cast<HCURSOR>(::CopyIcon(hand));
        ::FreeLibrary(module);
    }
}

void CHyperLink::ActivateLink()
{
    const int result = LaunchTarget(target, SW_SHOW);
    if (result > 32) {
        visited = TRUE;
        Invalidate();
    } else {
        ::MessageBeep(MB_ICONEXCLAMATION);
        ShowLaunchError(result);
    }
}

void CHyperLink::PreTranslateMessage(const MSG& message)
{
    if (toolTip != nullptr)
        ::SendMessageA(toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

LRESULT CALLBACK CHyperLink::LinkProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    auto* link = reinterpret_cast<CHyperLink*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (link == nullptr)
        return ::DefWindowProcA(window, message, wParam, lParam);
    return link->WindowProcedure(message, wParam, lParam);
}

LRESULT CHyperLink::WindowProcedure(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
        const DWORD position = ::GetMessagePos();
        const MSG relayed = {window_, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()),
                             PointOf(position)};
        PreTranslateMessage(relayed);
    }
    switch (message) {
    case kReflectedCtlColorStatic: return OnCtlColor(reinterpret_cast<HDC>(wParam));
    case WM_SETCURSOR: return OnSetCursor();
    case WM_MOUSEMOVE: return OnMouseMove(lParam);
    case WM_LBUTTONUP: return OnLButtonUp();
    case WM_SETFOCUS: return OnSetFocus();
    case WM_KILLFOCUS: return OnKillFocus();
    case WM_KEYDOWN: return OnKeyDown(message, wParam, lParam);
    case WM_NCHITTEST: return HTCLIENT;
    case WM_LBUTTONDOWN: return OnLButtonDown();
    case WM_NCDESTROY: return OnNcDestroy(message, wParam, lParam);
    default: return Default(message, wParam, lParam);
    }
}

LRESULT CHyperLink::Default(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::CallWindowProcA(staticProcedure_, window_, message, wParam, lParam);
}

LRESULT CHyperLink::OnCtlColor(HDC dc) const
{
    ::SetTextColor(dc, ChooseTextColor(pointerOver != FALSE, hasFocus != FALSE, visited != FALSE, options));
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

LRESULT CHyperLink::OnSetCursor() const
{
    if (handCursor == nullptr)
        return FALSE;
    ::SetCursor(handCursor);
    return TRUE;
}

LRESULT CHyperLink::OnMouseMove(LPARAM point)
{
    if (!pointerOver) {
        pointerOver = TRUE;
        Invalidate();
        ::SetCapture(window_);
        return 0;
    }
    RECT client = {};
    ::GetClientRect(window_, &client);
    const POINT p = PointOf(static_cast<DWORD>(point));
    if (!::PtInRect(&client, p)) {
        pointerOver = FALSE;
        ::ReleaseCapture();
        Invalidate();
    }
    return 0;
}

LRESULT CHyperLink::OnLButtonUp()
{
    if (hasFocus && (options & HLO_FOLLOWONPRESS) == 0)
        ActivateLink();
    return 0;
}

LRESULT CHyperLink::OnSetFocus()
{
    hasFocus = TRUE;
    Invalidate();
    return 0;
}

LRESULT CHyperLink::OnKillFocus()
{
    pointerOver = FALSE;
    hasFocus = FALSE;
    Invalidate();
    return 0;
}

LRESULT CHyperLink::OnKeyDown(UINT message, WPARAM key, LPARAM flags)
{
    if (key != VK_SPACE)
        return Default(message, key, flags);
    ActivateLink();
    return 0;
}

LRESULT CHyperLink::OnLButtonDown()
{
    if ((options & HLO_FOCUSONCLICK) != 0)
        ::SetFocus(window_);
    if ((options & HLO_FOLLOWONPRESS) != 0)
        ActivateLink();
    hasFocus = TRUE;
    return 0;
}

LRESULT CHyperLink::OnNcDestroy(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The control is going: it gets its own procedure back for its last message.
    const WNDPROC original = staticProcedure_;
    const HWND window = window_;
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    staticProcedure_ = nullptr;
    Attach(nullptr);
    return ::CallWindowProcA(original, window, message, wParam, lParam);
}

}  // namespace stlag
