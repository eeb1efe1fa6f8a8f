#include "program_folder.h"

#include "ansi_text.h"

namespace stlag {

std::string ProgramFolderFromModulePath(const std::string& modulePath, const CodePage& codePage)
{
    const std::size_t split = FindChar(modulePath, '\\', codePage) == std::string::npos
                                  ? std::string::npos
                                  : LastPathSeparator(modulePath, codePage);
    const std::string folder = split == std::string::npos ? std::string() : modulePath.substr(0, split + 1);
    return LowerCaser(codePage)(folder);
}

}  // namespace stlag
