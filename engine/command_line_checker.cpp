#include "command_line_checker.h"

namespace stlag {

namespace {
// Searched in this order: an ".exe" anywhere wins over an earlier ".bat".
const char* const kProgramExtensions[] = {".exe", ".bat", ".dll", ".com"};
}

bool CommandLineChecker::CheckCommandLine(const std::string& data, std::string& newData) const
{
    if (data.empty() || data == "\"") {
        newData.clear();
        return false;
    }
    const std::string trimmed = TrimWhiteSpace(data, codePage_);
    if (trimmed != data) {
        newData = trimmed;
        return false;
    }
    if (FindChar(data, '\\', codePage_) == std::string::npos || data[0] == '"')
        return true;

    const std::string lower = lower_(data);
    std::size_t extension = std::string::npos;
    for (const char* candidate : kProgramExtensions) {
        extension = FindText(lower, candidate, codePage_);
        if (extension != std::string::npos)
            break;
    }
    if (extension == std::string::npos)
        return true;

    const std::string program = data.substr(0, extension + 4);
    const std::size_t blank = FindChar(program, ' ', codePage_);
    if (blank == std::string::npos)
        return true;
    // The first blank comes before any folder, or the program part has none: a relative
    // name and its arguments, which the system finds on its search path.
    const std::size_t backslash = FindChar(program, '\\', codePage_);
    if (backslash == std::string::npos || backslash > blank)
        return true;

    if (fileSystem_.FileExists(program))
        newData = "\"" + program + "\"" + data.substr(program.size());
    else
        newData.clear();
    return false;
}

}  // namespace stlag
