#include "program_folder.h"

#include "ansi_text.h"

namespace stlag {

std::string ProgramFolderFromModulePath(const std::string& modulePath, const CodePage& codePage)
{
    // The splitter falls back on a forward slash; a module path without a backslash has no folder.
    const std::size_t split = LastPathSeparator(modulePath, codePage);
    if (split == std::string::npos || modulePath[split] != '\\')
        return std::string();
    return LowerCaser(codePage)(modulePath.substr(0, split + 1));
}

}  // namespace stlag
