// The file system, the ANSI code page and the string table of the running system.
#ifndef STLAG_WIN32_PLATFORM_H
#define STLAG_WIN32_PLATFORM_H

#include <array>
#include <string>
#include <vector>

#include "backup_home.h"
#include "platform.h"
#include "text_format.h"

namespace stlag {

// Run elevated or as SYSTEM, CreateNewFile gives the file ProtectedDescriptor(access) and
// deletes it again unless the HeldFolder of its path Holds it.
class Win32FileSystem : public FileSystem {
public:
    explicit Win32FileSystem(BackupAccess access = BackupAccess::AdministratorsOnly);
    PathFacts Probe(const std::string& path) const override;
    bool IsLocalFixedDrive(char letter) const override;
    bool FileExists(const std::string& path) const override;
    bool NameTaken(const std::string& utf8Path) const override;
    VariableValue Variable(const std::string& name) const override;
    std::unique_ptr<OutputFile> CreateNewFile(const std::string& path) override;

private:
    BackupAccess access_;
    bool protect_;
    mutable std::array<unsigned, 26> driveTypes_{};  // GetDriveType + 1 by letter; 0 not asked yet
};

class Win32CodePage : public CodePage {
public:
    Win32CodePage();
    bool IsLeadByte(unsigned char b) const override { return leadBytes_[b]; }
    std::u16string ToWide(const std::string& ansi) const override;

private:
    // Asked once: the scan asks for every byte of every value.
    std::array<bool, 256> leadBytes_{};
};

// Text in a code page (the ANSI one unless told) as the system converts it to UTF-16.
std::wstring AnsiToWide(const std::string& ansi, unsigned codePage = 0);

// UTF-8 text, as the files the program writes are named, to UTF-16 and back.
std::wstring Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const std::wstring& wide);

// An ANSI text with a path that may hold what the code page lacks, as one UTF-16 text; and
// one with a kPathMarker for each UTF-8 path, in order.
std::wstring WideText(const PathText& text);
std::wstring WideText(const std::string& ansiWithMarkers, const std::vector<std::string>& utf8Paths);

// UTF-16 text in a code page (the ANSI one unless told), NULs included; inCodePage is false
// when a character had no counterpart there and was replaced (no best fit is ever chosen),
// or when the text does not convert back to the same UTF-16.
std::string WideToAnsi(const wchar_t* wide, std::size_t length, bool& inCodePage, unsigned codePage = 0);

// Strings of the program's own resources, converted to the ANSI code page.
class ResourceTexts : public Texts {
public:
    std::string Load(unsigned id) const override;
};

}  // namespace stlag

#endif
