#include "link_launcher.h"

#include <cstring>

#include "desktop_shell.h"
#include "launch_command.h"
#include "texts.h"
#include "win32_platform.h"

namespace stlag {
namespace {

// What a shell starts is not seen here; any value above 32 tells success.
constexpr int kStarted = 33;

}  // namespace

LONG ReadDefaultValue(HKEY root, const char* subkey, char* out)
{
    HKEY key = nullptr;
    const LONG status = RegOpenKeyExA(root, subkey, 0, KEY_QUERY_VALUE, &key);
    if (status != ERROR_SUCCESS)
        return status;
    char value[MAX_PATH] = {};
    LONG size = sizeof value;
    if (RegQueryValueA(key, nullptr, value, &size) != ERROR_SUCCESS)
        value[0] = '\0';
    // Data stored without its terminator must not run into what follows.
    value[sizeof value - 1] = '\0';
    std::memcpy(out, value, sizeof value);
    RegCloseKey(key);
    return ERROR_SUCCESS;
}

int ShellOpen(const std::wstring& target, int show)
{
    // This program may run elevated; the desktop's shell runs with the user's normal rights.
    if (OpenFromDesktop(target, show))
        return kStarted;
    const INT_PTR shell =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, show));
    return static_cast<UINT_PTR>(shell) > 32 ? kStarted : static_cast<int>(shell);
}

int ShellOpen(const std::string& target, int show)
{
    return ShellOpen(AnsiToWide(target), show);
}

int LaunchTarget(const std::string& target, int show)
{
    const int shell = ShellOpen(target, show);
    if (shell > 32)
        return shell;
    const int refused = shell;

    char command[kCommandBufferSize] = {};
    if (ReadDefaultValue(HKEY_CLASSES_ROOT, ".htm", command) != ERROR_SUCCESS)
        return refused;
    // A class name of at most 259 bytes leaves room for the rest of the key path.
    static const char kOpenCommandKey[] = "\\shell\\open\\command";
    std::memcpy(command + std::strlen(command), kOpenCommandKey, sizeof kOpenCommandKey);
    if (ReadDefaultValue(HKEY_CLASSES_ROOT, command, command) != ERROR_SUCCESS)
        return refused;

    std::string commandLine;
    if (!BuildFallbackCommand(command, target, Win32CodePage(), commandLine))
        return kCommandTooLong;
    std::memcpy(command, commandLine.c_str(), commandLine.size() + 1);

    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    // Without this flag the system would ignore the show command.
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process;
    std::memset(&process, 0, sizeof process);
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process))
        return 0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return kStarted;
}

void ShowLaunchError(int code)
{
    AppMessageBox(GetActiveWindow(), LaunchErrorText(code), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace stlag
