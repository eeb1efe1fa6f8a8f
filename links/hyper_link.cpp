#include "hyper_link.h"

#include <commctrl.h>

#include <utility>

#include "dialog.h"
#include "dpi.h"
#include "link_launcher.h"

namespace stlag {

HCURSOR CHyperLink::handCursor_ = nullptr;

namespace {
constexpr UINT_PTR kToolId = 1;
// IDC_HAND; older systems lack it, and the hand of the help program stands in.
constexpr WORD kSystemHandCursor = 32649;
constexpr WORD kWinHelpHandCursor = 106;

// The tip is drawn clipped to the width its text measures, and a last glyph such as "/"
// may reach past its own advance: a trailing blank gives it room.
TTTOOLINFOA ToolInfo(HWND window, const std::string& text)
{
    TTTOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = window;
    tool.uId = kToolId;
    tool.lpszText = const_cast<char*>(text.c_str());
    ::GetClientRect(window, &tool.rect);
    return tool;
}

HFONT UnderlinedFont(HFONT font)
{
    LOGFONTA description = {};
    ::GetObjectA(font, sizeof description, &description);
    description.lfUnderline = TRUE;
    return ::CreateFontIndirectA(&description);
}
}  // namespace

CHyperLink::CHyperLink() : launcher_([](const std::string& target) { return LaunchTarget(target, SW_SHOW); }) {}

CHyperLink::~CHyperLink()
{
    // A control that outlives its object must not call into it any more.
    if (window_ != nullptr && ::IsWindow(window_) && staticProcedure_ != nullptr) {
        ::SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(staticProcedure_));
        ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    }
    if (linkFont_ != nullptr)
        ::DeleteObject(linkFont_);
    if (toolTip_ != nullptr && ::IsWindow(toolTip_))
        ::DestroyWindow(toolTip_);
    if (tipFont_ != nullptr)
        ::DeleteObject(tipFont_);
}

void CHyperLink::SubclassControl(HWND control)
{
    if (control == nullptr || staticProcedure_ != nullptr)
        return;
    Attach(control);
    SetUp();
    ::SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    staticProcedure_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CHyperLink::LinkProcedure)));
}

void CHyperLink::SetUp()
{
    if (target_.empty())
        target_ = GetText();
    if (GetText().empty())
        SetText(target_);
    const HFONT font = reinterpret_cast<HFONT>(SendMsg(WM_GETFONT));
    if (font != nullptr) {
        Underline(font);
        FitWindowToText();
    } else {
        fitsText_ = false;
    }
    LoadHandCursor();
    CreateToolTip();
}

void CHyperLink::CreateToolTip()
{
    toolTip_ = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (toolTip_ == nullptr)
        return;
    const std::string tip = target_ + " ";
    TTTOOLINFOA tool = ToolInfo(window_, tip);
    ::SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    FitToolTip();
}

void CHyperLink::SetLinkTarget(std::string target)
{
    target_ = std::move(target);
    if (window_ == nullptr || !::IsWindow(window_))
        return;
    ShowWindow(SW_HIDE);
    FitWindowToText();
    if (toolTip_ != nullptr) {
        const std::string tip = target_ + " ";
        TTTOOLINFOA tool = ToolInfo(window_, tip);
        ::SendMessageA(toolTip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    ShowWindow(SW_SHOW);
}

void CHyperLink::FitWindowToText()
{
    if (!fitsText_)
        return;
    const RECT window = GetRectInParent();
    RECT client = {};
    ::GetClientRect(window_, &client);
    const SIZE extent = GetTextExtent();
    const auto style = static_cast<std::uint32_t>(::GetWindowLongA(window_, GWL_STYLE));
    const Placement placed =
        FitToText(PlainRect{window.left, window.top, window.right, window.bottom},
                  PlainRect{client.left, client.top, client.right, client.bottom}, extent.cx, extent.cy, style);
    ::MoveWindow(window_, placed.x, placed.y, placed.width, placed.height, TRUE);
}

void CHyperLink::FollowDpi()
{
    const HFONT font = reinterpret_cast<HFONT>(SendMsg(WM_GETFONT));
    if (font != nullptr && font != linkFont_)
        Underline(font);
    FitWindowToText();
    FitToolTip();
}

void CHyperLink::Underline(HFONT font)
{
    const HFONT previous = linkFont_;
    linkFont_ = UnderlinedFont(font);
    if (linkFont_ != nullptr)
        SendMsg(WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_), TRUE);
    if (previous != nullptr)
        ::DeleteObject(previous);
}

// The tip covers the control as it is now, in the status font at the control's DPI: comctl32
// takes the system's, which under per-monitor awareness may be another monitor's.
void CHyperLink::FitToolTip()
{
    if (toolTip_ == nullptr)
        return;
    TTTOOLINFOA tool = ToolInfo(window_, std::string());
    ::SendMessageA(toolTip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    const HFONT font = CreateStatusFont(WindowDpi(window_));
    if (font == nullptr)
        return;
    ::SendMessageA(toolTip_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (tipFont_ != nullptr)
        ::DeleteObject(tipFont_);
    tipFont_ = font;
}

void CHyperLink::LoadHandCursor()
{
    if (handCursor_ != nullptr)
        return;
    if (const HCURSOR system = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(kSystemHandCursor)))
        handCursor_ = static_cast<HCURSOR>(::CopyIcon(system));
    char path[MAX_PATH] = {};
    const UINT length = handCursor_ != nullptr ? 0 : ::GetWindowsDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    const std::string helpProgram = std::string(path) + "\\winhlp32.exe";
    if (const HMODULE module = ::LoadLibraryA(helpProgram.c_str())) {
        if (const HCURSOR hand = ::LoadCursorA(module, MAKEINTRESOURCEA(kWinHelpHandCursor)))
            handCursor_ = static_cast<HCURSOR>(::CopyIcon(hand));
        ::FreeLibrary(module);
    }
}

void CHyperLink::ActivateLink()
{
    const int result = launcher_(target_);
    if (result > 32) {
        visited_ = true;
        Invalidate();
    } else {
        ::MessageBeep(MB_ICONEXCLAMATION);
        ShowLaunchError(result);
    }
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
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && toolTip_ != nullptr) {
        // The tooltip learns when to show from the mouse messages of its tool.
        const DWORD position = ::GetMessagePos();
        const MSG relayed = {window_, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()),
                             POINT{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))}};
        ::SendMessageA(toolTip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    switch (message) {
    case kReflectedCtlColorStatic: return OnCtlColor(reinterpret_cast<HDC>(wParam));
    case WM_SETCURSOR: return OnSetCursor();
    case WM_LBUTTONDOWN: return OnLButtonDown();
    case WM_LBUTTONUP: return OnLButtonUp();
    case WM_SETFOCUS: return OnFocus(true);
    case WM_KILLFOCUS: return OnFocus(false);
    case WM_KEYDOWN:  // and its release, when the space bar acts
    case WM_KEYUP: return OnKey(message, wParam, lParam);
    // A static control answers HTTRANSPARENT, which would hand every mouse message to the dialog.
    case WM_NCHITTEST: return HTCLIENT;
    case WM_GETOBJECT: return OnGetObject(message, wParam, lParam);
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE: return OnSystemChange(message, wParam, lParam);
    case kFollowLinkMessage: ActivateLink(); return 0;
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
    ::SetTextColor(dc, LinkTextColor(highContrast_, hasFocus_, visited_));
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

LRESULT CHyperLink::OnSetCursor() const
{
    if (handCursor_ == nullptr)
        return FALSE;
    ::SetCursor(handCursor_);
    return TRUE;
}

LRESULT CHyperLink::OnLButtonDown()
{
    ::SetFocus(window_);
    hasFocus_ = true;
    return 0;
}

LRESULT CHyperLink::OnLButtonUp()
{
    if (hasFocus_)
        ActivateLink();
    return 0;
}

LRESULT CHyperLink::OnFocus(bool gained)
{
    hasFocus_ = gained;
    Invalidate();
    return 0;
}

LRESULT CHyperLink::OnKey(UINT message, WPARAM key, LPARAM flags)
{
    if (key != VK_SPACE)
        return Default(message, key, flags);
    // Once, on release: a held space bar repeats its key-down and must not launch again.
    if (message == WM_KEYUP)
        ActivateLink();
    return 0;
}

LRESULT CHyperLink::OnNcDestroy(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The control is going: it gets its own procedure back for its last message.
    accessibility_.Disconnect();
    const WNDPROC original = staticProcedure_;
    const HWND window = window_;
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    staticProcedure_ = nullptr;
    Attach(nullptr);
    return ::CallWindowProcA(original, window, message, wParam, lParam);
}

}  // namespace stlag
