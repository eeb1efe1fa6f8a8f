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

// Exit code, and what the program wrote to standard output and standard error; with the
// token's rights when one is given. Started directly: through _wpopen's cmd /c, Wine's cmd
// now and then could not start a program it had started a moment before (exit 9009).
// The start itself now and then fails when both cores are busy, before the program runs:
// only such a start is tried again, and said on standard error. -1 when there is no exit code to read.
inline std::pair<int, std::string> Execute(std::wstring commandLine, HANDLE token = nullptr)
{
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    CreatePipe(&read, &write, &inherited, 0);
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup, startup.dwFlags = STARTF_USESTDHANDLES, startup.hStdOutput = startup.hStdError = write;
    PROCESS_INFORMATION process = {};
    bool started = false;
    for (int tries = 1; !started && tries <= 3; ++tries)
        if (!(started = CreateProcessAsUserW(token, nullptr, &commandLine[0], {}, {}, TRUE, 0, {}, {}, &startup, &process)))
            std::fprintf(stderr, "CreateProcessAsUserW failed with %lu (try %d of 3)\n", GetLastError(), tries);
    CloseHandle(write);
    std::string out;
    char buffer[4096];
    for (DWORD count = 0; ReadFile(read, buffer, sizeof buffer, &count, nullptr) && count > 0;)
        out.append(buffer, count);
    DWORD code = static_cast<DWORD>(-1);
    if (started && WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(read), CloseHandle(process.hProcess), CloseHandle(process.hThread);
    return {static_cast<int>(code), out};
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
