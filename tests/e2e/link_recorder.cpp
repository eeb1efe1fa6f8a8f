// Stands in for a browser or a text editor in the link stories: appends the command line
// it was started with, byte for byte, as one line to the file named by STLAG_RECORDER_LOG.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/)
{
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("STLAG_RECORDER_LOG", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 2;
    // Several starts may come close together: appending keeps each line whole.
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    const std::string line = std::string(GetCommandLineA()) + "\n";
    DWORD written = 0;
    const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == line.size() ? 0 : 1;
}
