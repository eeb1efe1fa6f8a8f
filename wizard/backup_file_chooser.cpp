#include "backup_file_chooser.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "win32_platform.h"

namespace stlag {

std::string GetSpecialFolderPath(int folderNumber)
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, folderNumber, nullptr, SHGFP_TYPE_CURRENT, path)))
        return std::string();
    return WideToUtf8(path);
}

bool AskSaveFileName(HWND owner, const std::string& path, DWORD flags, const std::string& filterText,
                     const std::string& defaultExtension, std::size_t bufferSize, std::string& chosenPath)
{
    std::vector<wchar_t> file(bufferSize == 0 ? 1 : bufferSize, L'\0');
    const std::wstring name = Utf8ToWide(GetFileNamePart(path)), initialFolder = Utf8ToWide(GetFolderPart(path));
    if (name.size() < file.size())
        name.copy(file.data(), name.size());
    const std::wstring filter = AnsiToWide(SaveDialogFilter(filterText)), extension = AnsiToWide(defaultExtension);

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = initialFolder.c_str();
    dialog.Flags = flags;
    dialog.lpstrDefExt = extension.c_str();
    if (!::GetSaveFileNameW(&dialog))
        return false;
    chosenPath = WideToUtf8(file.data());
    return true;
}

}  // namespace stlag
