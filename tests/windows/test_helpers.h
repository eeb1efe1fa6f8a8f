// What the Wine tests share: running a command line, making a program file, ANSI text.
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
    char buffer[4096];
    for (std::size_t count; pipe && (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, count);
    return {pipe ? _pclose(pipe) : -1, out};
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
