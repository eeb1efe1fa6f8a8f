#include "wizard_remote.h"

#include <commctrl.h>

#include <cstring>

#include "png_writer.h"

namespace stlag {

std::string ReadFileText(const std::string& path)
{
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    CloseHandle(file);
    return text;
}

bool WaitUntil(const std::function<bool()>& ready, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (ready())
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(50);
    }
}

std::string WindowText(HWND window)
{
    // WM_GETTEXT is carried across processes by the system.
    const LRESULT length = ::SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied = ::SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

std::vector<std::string> ChildTexts(HWND parent, const char* className)
{
    struct Search {
        const char* className;
        std::vector<std::string> texts;
    } search{className, {}};
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            char name[64] = {};
            ::GetClassNameA(child, name, sizeof name);
            if (::lstrcmpiA(name, s->className) == 0)
                s->texts.push_back(WindowText(child));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.texts;
}

WizardProcess::~WizardProcess()
{
    if (process_.hProcess != nullptr) {
        if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(process_.hProcess, 99);
        ::CloseHandle(process_.hThread);
        ::CloseHandle(process_.hProcess);
    }
}

bool WizardProcess::Start(const std::string& exePath)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exePath + "\"";
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
        return false;
    return WaitUntil([this] {
        for (HWND window : TopLevelWindows()) {
            char name[16] = {};
            ::GetClassNameA(window, name, sizeof name);
            if (std::strcmp(name, "#32770") == 0 && WindowText(window).rfind("Startlagaren", 0) == 0) {
                sheet_ = window;
                return true;
            }
        }
        return false;
    });
}

bool WizardProcess::WaitForExit(DWORD timeoutMs)
{
    return ::WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD WizardProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

HWND WizardProcess::CurrentPage() const
{
    return reinterpret_cast<HWND>(::SendMessageA(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0));
}

std::vector<HWND> WizardProcess::TopLevelWindows() const
{
    struct Search {
        DWORD processId;
        std::vector<HWND> windows;
    } search{process_.dwProcessId, {}};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId && ::IsWindowVisible(window))
                s->windows.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

HWND WizardProcess::FindDialog(const std::string& caption) const
{
    for (HWND window : TopLevelWindows()) {
        char name[16] = {};
        ::GetClassNameA(window, name, sizeof name);
        if (window != sheet_ && std::strcmp(name, "#32770") == 0 && (caption.empty() || WindowText(window) == caption))
            return window;
    }
    return nullptr;
}

std::vector<HWND> WizardProcess::CreatedPages() const
{
    std::vector<HWND> pages;
    for (HWND child = ::GetWindow(sheet_, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = {};
        ::GetClassNameA(child, name, sizeof name);
        if (std::strcmp(name, "#32770") == 0)
            pages.push_back(child);
    }
    return pages;
}

namespace {
// A block of memory in the wizard's process, for list-view messages that carry pointers.
class RemoteBlock {
public:
    RemoteBlock(HWND window, std::size_t size) : size_(size)
    {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        process_ = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_ != nullptr)
            address_ = ::VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBlock()
    {
        if (address_ != nullptr)
            ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_ != nullptr)
            ::CloseHandle(process_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool Valid() const { return address_ != nullptr; }
    char* At(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
    bool Write(std::size_t offset, const void* bytes, std::size_t count) const
    {
        return offset + count <= size_ && ::WriteProcessMemory(process_, At(offset), bytes, count, nullptr);
    }
    bool Read(std::size_t offset, void* bytes, std::size_t count) const
    {
        return offset + count <= size_ && ::ReadProcessMemory(process_, At(offset), bytes, count, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    std::size_t size_;
};
}  // namespace

int WizardProcess::ListCount(HWND list) const
{
    return static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

bool WizardProcess::ListChecked(HWND list, int row) const
{
    const auto state = static_cast<UINT>(::SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

bool WizardProcess::SetListChecked(HWND list, int row, bool checked) const
{
    RemoteBlock block(list, sizeof(LVITEMA));
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    if (!block.Valid() || !block.Write(0, &item, sizeof item))
        return false;
    return ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.At(0))) != 0;
}

std::string WizardProcess::ListText(HWND list, int row, int column) const
{
    constexpr std::size_t kTextSize = 1024;
    RemoteBlock block(list, sizeof(LVITEMA) + kTextSize);
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = block.At(sizeof item);
    item.cchTextMax = static_cast<int>(kTextSize);
    char text[kTextSize] = {};
    if (!block.Valid() || !block.Write(0, &item, sizeof item))
        return std::string();
    ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.At(0)));
    block.Read(sizeof item, text, kTextSize - 1);
    return text;
}

bool WizardProcess::Screenshot(const std::string& directory, const std::string& name) const
{
    RECT area = {};
    for (HWND window : TopLevelWindows()) {
        RECT r = {};
        if (::GetWindowRect(window, &r) && r.right - r.left > 1 && r.bottom - r.top > 1)
            ::UnionRect(&area, &area, &r);
    }
    if (::IsRectEmpty(&area))
        return false;
    ::InflateRect(&area, 4, 4);
    ::CreateDirectoryA(directory.c_str(), nullptr);
    return SaveScreenArea(area, directory + "/" + name + ".png");
}

bool SaveScreenArea(const RECT& rect, const std::string& path)
{
    const int left = rect.left < 0 ? 0 : rect.left, top = rect.top < 0 ? 0 : rect.top;
    const int width = rect.right - left, height = rect.bottom - top;
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (bitmap != nullptr) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY);
        ::GdiFlush();
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
        const auto* bgra = static_cast<const std::uint8_t*>(bits);
        for (std::size_t i = 0; i < rgb.size() / 3; ++i) {
            rgb[i * 3] = bgra[i * 4 + 2];
            rgb[i * 3 + 1] = bgra[i * 4 + 1];
            rgb[i * 3 + 2] = bgra[i * 4];
        }
        saved = WriteFileBytes(path, EncodePng(width, height, rgb));
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return saved;
}

}  // namespace stlag
