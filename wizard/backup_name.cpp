#include "backup_name.h"

#include <algorithm>
#include <cctype>

namespace stlag {

namespace {
std::size_t LastSeparator(const std::string& path)
{
    const std::size_t backslash = path.rfind('\\');
    return backslash != std::string::npos ? backslash : path.rfind('/');
}
}  // namespace

std::string GetFolderPart(const std::string& path)
{
    const std::size_t split = LastSeparator(path);
    return split == std::string::npos ? path : path.substr(0, split + 1);
}

std::string GetFileNamePart(const std::string& path)
{
    const std::size_t split = LastSeparator(path);
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

std::string CompleteBackupName(const std::string& typed, const std::string& folder)
{
    if (typed.find_first_not_of(" \\/") == std::string::npos)
        return typed;  // no name at all, which the creation refuses
    const bool drive = typed.size() > 2 && typed[1] == ':' && (typed[2] == '\\' || typed[2] == '/');
    const bool share = typed.compare(0, 2, "\\\\") == 0 || typed.compare(0, 2, "//") == 0;
    const std::size_t start = typed.find_first_not_of("\\/");  // found: the name above is there
    const std::string joint = folder.empty() || folder.back() == '\\' ? "" : "\\";
    std::string path = drive || share ? typed : folder + joint + typed.substr(start);
    std::string ending = path.size() >= 4 ? path.substr(path.size() - 4) : std::string();
    std::transform(ending.begin(), ending.end(), ending.begin(), [](unsigned char c) { return std::tolower(c); });
    return ending == ".reg" ? path : path + ".reg";
}

}  // namespace stlag
