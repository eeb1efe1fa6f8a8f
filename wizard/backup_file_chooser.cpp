#include "backup_file_chooser.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

namespace stlag {

std::string GetSpecialFolderPath(int folderNumber)
{
    IMalloc* allocator = nullptr;
    if (FAILED(::SHGetMalloc(&allocator)))
        return std::string();
    std::string path;
    LPITEMIDLIST items = nullptr;
    if (::SHGetSpecialFolderLocation(nullptr, folderNumber, &items) == S_OK) {
        char buffer[MAX_PATH] = {};
        if (::SHGetPathFromIDListA(items, buffer))
            path = buffer;
        allocator->Free(items);
    }
    allocator->Release();
    return path;
}

bool AskSaveFileName(HWND owner, const std::string& path, DWORD flags, const std::string& filterText,
                     const std::string& defaultExtension, std::size_t bufferSize, const CodePage& codePage,
                     std::string& chosenPath)
{
    std::vector<char> file = SaveDialogFileBuffer(path, bufferSize, codePage);
    const std::string initialFolder = GetFolderPart(path, codePage);
    const std::string filter = SaveDialogFilter(filterText);

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = initialFolder.c_str();
    dialog.Flags = flags;
    dialog.lpstrDefExt = defaultExtension.c_str();
    if (!::GetSaveFileNameA(&dialog))
        return false;
    chosenPath = file.data();
    return true;
}

}  // namespace stlag
