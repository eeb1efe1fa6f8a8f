#include "win32_platform.h"

#include <windows.h>

namespace stlag {

bool Win32FileSystem::FileExists(const std::string& path) const
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

namespace {
class Win32OutputFile : public OutputFile {
public:
    explicit Win32OutputFile(HANDLE file) : file_(file) {}
    ~Win32OutputFile() override { Release(); }
    bool Write(const char* bytes, std::size_t count) override
    {
        DWORD written = 0;
        return file_ != INVALID_HANDLE_VALUE &&
               WriteFile(file_, bytes, static_cast<DWORD>(count), &written, nullptr) && written == count;
    }
    bool Flush() override { return file_ != INVALID_HANDLE_VALUE && FlushFileBuffers(file_); }
    bool Close() override { return Release(); }

private:
    bool Release()
    {
        if (file_ == INVALID_HANDLE_VALUE)
            return false;
        const bool closed = CloseHandle(file_) != 0;
        file_ = INVALID_HANDLE_VALUE;
        return closed;
    }

    HANDLE file_;
};
}  // namespace

std::unique_ptr<OutputFile> Win32FileSystem::CreateNewFile(const std::string& path)
{
    // CREATE_NEW: a file that turned up after the existence test is never truncated.
    // No sharing: nobody else writes the backup while the repair runs.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::unique_ptr<OutputFile>(new Win32OutputFile(file));
}

bool Win32CodePage::IsLeadByte(unsigned char b) const
{
    return IsDBCSLeadByte(b) != 0;
}

std::u16string Win32CodePage::ToWide(const std::string& ansi) const
{
    if (ansi.empty())
        return std::u16string();
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], n);
    return std::u16string(wide.begin(), wide.end());
}

std::string ResourceTexts::Load(unsigned id) const
{
    // With a zero length LoadStringW hands out the resource's own read-only text.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr)
        return std::string();
    const int n = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, &ansi[0], n, nullptr, nullptr);
    return ansi;
}

}  // namespace stlag
