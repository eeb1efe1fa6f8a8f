#include "win32_platform.h"

#include <windows.h>

#include <optional>

#include "texts.h"

namespace stlag {

Win32FileSystem::Win32FileSystem(BackupAccess access)
    : access_(access), protect_(CurrentRunLevel() != RunLevel::User) {}

PathFacts Win32FileSystem::Probe(const std::string& path) const
{
    // GetFileAttributes tells of a link itself, not of where it leads.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        return {folder ? PathAnswer::Folder : PathAnswer::File, (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0};
    }
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return {PathAnswer::NotFound};
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY: return {PathAnswer::Malformed};
    default: return {PathAnswer::Error};
    }
}

bool Win32FileSystem::IsLocalFixedDrive(char letter) const
{
    // Asked once a drive: a scan asks for every program of every value.
    const unsigned char index = static_cast<unsigned char>(letter | 0x20) - 'a';
    if (index >= driveTypes_.size())
        return false;
    if (driveTypes_[index] == 0) {
        const char root[] = {letter, ':', '\\', '\0'};
        driveTypes_[index] = GetDriveTypeA(root) + 1;
    }
    return driveTypes_[index] == DRIVE_FIXED + 1;
}

bool Win32FileSystem::FileExists(const std::string& path) const
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

bool Win32FileSystem::NameTaken(const std::string& utf8Path) const
{
    return GetFileAttributesW(Utf8ToWide(utf8Path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

VariableValue Win32FileSystem::Variable(const std::string& name) const
{
    const std::wstring wideName = AnsiToWide(name);
    std::wstring value(256, L'\0');
    for (int tries = 0; tries < 3; ++tries) {
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetEnvironmentVariableW(wideName.c_str(), &value[0], static_cast<DWORD>(value.size()));
        if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)
            return VariableValue();
        if (length < value.size()) {
            bool inCodePage = true;
            VariableValue result{VariableValue::Set, WideToAnsi(value.data(), length, inCodePage)};
            // A stand-in for a character the code page lacks would name another path.
            return inCodePage ? result : VariableValue{VariableValue::Unreadable, std::string()};
        }
        value.resize(length);  // the size asked for, NUL included
    }
    return VariableValue{VariableValue::Unreadable, std::string()};
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
    bool CutTo(std::uint64_t size) override
    {
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(size);
        return file_ != INVALID_HANDLE_VALUE && SetFilePointerEx(file_, end, nullptr, FILE_BEGIN) && SetEndOfFile(file_);
    }
    bool Close() override { return Release(); }
    bool Discard() override
    {
        FILE_DISPOSITION_INFO disposition = {TRUE};
        const bool deleted = file_ != INVALID_HANDLE_VALUE &&
                             SetFileInformationByHandle(file_, FileDispositionInfo, &disposition, sizeof disposition);
        Release();
        return deleted;
    }

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
    // Elevated, whoever can change the backup decides what an undo writes.
    const std::vector<unsigned char> descriptor =
        protect_ ? ProtectedDescriptor(access_, false) : std::vector<unsigned char>();
    if (protect_ && descriptor.empty())
        return nullptr;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, const_cast<unsigned char*>(descriptor.data()), FALSE};
    const std::wstring wide = Utf8ToWide(path);
    // Looked at before and after the file is made: a swap in between would put it elsewhere.
    std::optional<HeldFolder> folder;
    if (protect_)
        folder.emplace(wide);
    if (folder && folder->finalPath().empty())
        return nullptr;
    // CREATE_NEW: a file that turned up after the existence test is never truncated.
    // No sharing: nobody else writes the backup while the repair runs. DELETE: for Discard.
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE | DELETE, 0, protect_ ? &attributes : nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    std::unique_ptr<OutputFile> output(new Win32OutputFile(file));
    if (folder && !folder->Holds(file)) {
        output->Discard();
        return nullptr;
    }
    return output;
}

Win32CodePage::Win32CodePage()
{
    for (unsigned b = 0; b < leadBytes_.size(); ++b)
        leadBytes_[b] = IsDBCSLeadByte(static_cast<BYTE>(b)) != 0;
}

std::wstring AnsiToWide(const std::string& ansi, unsigned codePage)
{
    if (ansi.empty())
        return std::wstring();
    const int n = MultiByteToWideChar(codePage, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], n);
    return wide;
}

std::wstring Utf8ToWide(const std::string& utf8)
{
    return AnsiToWide(utf8, CP_UTF8);
}

std::string WideToUtf8(const std::wstring& wide)
{
    bool whole = true;
    return WideToAnsi(wide.data(), wide.size(), whole, CP_UTF8);
}

std::wstring WideText(const PathText& text)
{
    if (text.pathAt == std::string::npos)
        return AnsiToWide(text.text);
    return AnsiToWide(text.text.substr(0, text.pathAt)) + Utf8ToWide(text.path) + AnsiToWide(text.text.substr(text.pathAt));
}

std::wstring WideText(const std::string& ansiWithMarkers, const std::vector<std::string>& utf8Paths)
{
    std::wstring text;
    std::size_t at = 0;
    for (const std::string& path : utf8Paths) {
        const std::size_t marker = ansiWithMarkers.find(kPathMarker, at);
        if (marker == std::string::npos)
            break;
        text += AnsiToWide(ansiWithMarkers.substr(at, marker - at)) + Utf8ToWide(path);
        at = marker + 1;
    }
    return text + AnsiToWide(ansiWithMarkers.substr(at));
}

std::string WideToAnsi(const wchar_t* wide, std::size_t length, bool& inCodePage, unsigned codePage)
{
    inCodePage = true;
    if (length == 0)
        return std::string();
    // The UTF-8 code page takes neither flag nor default; an unpaired surrogate there is
    // replaced all the same, which only converting back reveals.
    const bool utf8 = (codePage == CP_ACP ? GetACP() : codePage) == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    const int units = static_cast<int>(length);
    const int n = WideCharToMultiByte(codePage, flags, wide, units, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, flags, wide, units, &ansi[0], n, nullptr, utf8 ? nullptr : &usedDefault);
    inCodePage = usedDefault == FALSE && AnsiToWide(ansi, codePage) == std::wstring(wide, length);
    return ansi;
}

std::u16string Win32CodePage::ToWide(const std::string& ansi) const
{
    const std::wstring wide = AnsiToWide(ansi);
    return std::u16string(wide.begin(), wide.end());
}

std::string ResourceTexts::Load(unsigned id) const
{
    return LoadText(id);
}

}  // namespace stlag
