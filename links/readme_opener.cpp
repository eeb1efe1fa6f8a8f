#include "readme_opener.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

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
    const std::string path = GetProgramFolder() + name;
    const HINSTANCE result = ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<UINT_PTR>(result) > 32;
}

}  // namespace stlag
