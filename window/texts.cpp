#include "texts.h"

#include <vector>

namespace stlag {

std::string LoadText(UINT id)
{
    // With a zero length LoadStringW hands out the resource's own text, which gives its
    // length; a double-byte code page needs at most two bytes a character.
    const HINSTANCE module = ::GetModuleHandleA(nullptr);
    const wchar_t* wide = nullptr;
    const int length = ::LoadStringW(module, id, reinterpret_cast<LPWSTR>(&wide), 0);
    if (length <= 0)
        return std::string();
    std::vector<char> ansi(static_cast<std::size_t>(length) * 2 + 1, '\0');
    const int copied = ::LoadStringA(module, id, ansi.data(), static_cast<int>(ansi.size()));
    return std::string(ansi.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

std::wstring LoadWideText(UINT id)
{
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleA(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

int AppMessageBox(HWND owner, const std::string& text, UINT style)
{
    return ::MessageBoxA(owner, text.c_str(), LoadText(kAppTitleTextId).c_str(), style);
}

}  // namespace stlag
