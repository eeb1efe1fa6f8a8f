#include "readme_opener.h"

#include <windows.h>

#include <vector>

#include "link_launcher.h"
#include "program_folder.h"
#include "win32_platform.h"

namespace stlag {

std::string GetProgramFolder()
{
    // A path that fills the buffer may have been cut; its folder would then be wrong, so
    // the question is asked again with room for the longest path the system allows.
    std::vector<char> path(MAX_PATH);
    DWORD length = GetModuleFileNameA(nullptr, path.data(), MAX_PATH - 1);
    if (length >= MAX_PATH - 1) {
        path.assign(32768, '\0');
        length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length >= path.size())
            length = 0;
    }
    return ProgramFolderFromModulePath(std::string(path.data(), length), Win32CodePage());
}

bool OpenProgramFile(const std::string& name)
{
    return ShellOpen(GetProgramFolder() + name, SW_SHOWNORMAL) > 32;
}

}  // namespace stlag
