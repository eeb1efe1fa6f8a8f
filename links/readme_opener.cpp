#include "readme_opener.h"

#include <windows.h>

#include <vector>

#include "link_launcher.h"
#include "program_folder.h"
#include "win32_platform.h"

namespace stlag {

std::wstring GetProgramFolder()
{
    // A path that fills the buffer may have been cut; its folder would then be wrong, so
    // the question is asked again with room for the longest path the system allows.
    std::vector<wchar_t> path(MAX_PATH);
    DWORD length = GetModuleFileNameW(nullptr, path.data(), MAX_PATH - 1);
    if (length >= MAX_PATH - 1) {
        path.assign(32768, L'\0');
        length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length >= path.size())
            length = 0;
    }
    const std::u16string folder = ProgramFolderFromModulePath(std::u16string(path.begin(), path.begin() + length));
    return std::wstring(folder.begin(), folder.end());
}

bool OpenProgramFile(const std::string& name)
{
    return ShellOpen(GetProgramFolder() + AnsiToWide(name), SW_SHOWNORMAL) > 32;
}

}  // namespace stlag
