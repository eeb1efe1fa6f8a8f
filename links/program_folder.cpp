#include "program_folder.h"

#include "ansi_text.h"

namespace stlag {

std::u16string ProgramFolderFromModulePath(const std::u16string& modulePath)
{
    // A forward slash is no separator here: a module path without a backslash has no folder.
    const std::size_t split = modulePath.rfind(u'\\');
    std::u16string folder = split == std::u16string::npos ? std::u16string() : modulePath.substr(0, split + 1);
    for (char16_t& unit : folder)
        unit = LowerCaseUnit(unit);
    return folder;
}

}  // namespace stlag
