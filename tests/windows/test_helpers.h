// What the Wine tests share: running a command line, clearing the start-up keys, making a program file,
// ANSI text.
#ifndef STLAG_TEST_HELPERS_H
#define STLAG_TEST_HELPERS_H

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>

inline std::string Ansi(const std::wstring& wide)
{
    std::string out(wide.size() * 2, '\0');
    out.resize(WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &out[0],
                                   static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

// Exit code and standard output. _wpopen runs cmd /c, which strips the outer quotes added here.
inline std::pair<int, std::string> Execute(const std::wstring& commandLine)
{
    FILE* pipe = _wpopen((L"\"" + commandLine + L"\"").c_str(), L"rb");
    std::string out;
    for (int c; pipe && (c = std::fgetc(pipe)) != EOF;)
        out += static_cast<char>(c);
    return {pipe ? _pclose(pipe) : -1, out};
}

inline const std::wstring kRunBase = L"Software\\Microsoft\\Windows\\CurrentVersion\\";

// Every start-up key goes, Wine's own winemenubuilder value in RunServices with it.
inline void DeleteStartupKeys()
{
    HKEY wow = nullptr;
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunBase.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &wow);
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, wow})
        for (const wchar_t* key : {L"Run", L"RunOnce", L"RunServices", L"RunServicesOnce", L"Policies\\Explorer\\Run"})
            RegDeleteTreeW(root, root == wow ? key : (kRunBase + key).c_str());
    RegCloseKey(wow);
}

// An empty program file, in a folder of its own.
inline void Touch(const std::wstring& path)
{
    CreateDirectoryW(path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    CloseHandle(file);
}

#endif
