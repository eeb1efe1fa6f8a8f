#include "backup_name.h"

#include "ansi_text.h"

namespace stlag {

std::string GetFolderPart(const std::string& path, const CodePage& codePage)
{
    const std::size_t split = LastPathSeparator(path, codePage);
    return split == std::string::npos ? path : path.substr(0, split + 1);
}

std::string GetFileNamePart(const std::string& path, const CodePage& codePage)
{
    const std::size_t split = LastPathSeparator(path, codePage);
    return split == std::string::npos ? path : path.substr(split + 1);
}

std::string SaveDialogFilter(const std::string& filterText)
{
    std::string filter;
    filter.reserve(filterText.size());
    for (const char c : filterText) {
        if (c == '|')
            filter += '\0';
        else if (c != '\n')
            filter += c;
    }
    return filter;
}

std::vector<char> SaveDialogFileBuffer(const std::string& nameSource, std::size_t bufferSize,
                                       const CodePage& codePage)
{
    std::vector<char> buffer(bufferSize == 0 ? 1 : bufferSize, '\0');
    const std::string name = GetFileNamePart(nameSource, codePage);
    if (name.size() < buffer.size())
        name.copy(buffer.data(), name.size());
    return buffer;
}

}  // namespace stlag
