#include "command_line_checker.h"

namespace stlag {

namespace {
// Searched in this order: an ".exe" anywhere wins over an earlier ".bat".
const char* const kProgramExtensions[] = {".exe", ".bat", ".dll", ".com"};

// A drive, or a variable that stands for one: how a program path starts when a command-line
// parser reads it. The kernel's \SystemRoot\..., \??\... and system32\drivers\... are read
// as paths whole, blanks and all.
bool StartsLikeProgramPath(const std::string& data)
{
    const char letter = static_cast<char>(data.empty() ? 0 : data[0] | 0x20);
    const bool drive = data.size() > 1 && data[1] == ':' && letter >= 'a' && letter <= 'z';
    return drive || (!data.empty() && data[0] == '%');
}
}  // namespace

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
    const std::size_t end = ProgramEnd(data);
    if (end == std::string::npos || !BlankInFolder(data.substr(0, end)))
        return true;
    const std::string program = data.substr(0, end);
    if (fileSystem_.FileExists(program))
        newData = "\"" + program + "\"" + data.substr(end);
    else
        newData.clear();
    return false;
}

Verdict CommandLineChecker::CheckProgramPath(const std::string& data, std::string& newData) const
{
    if (data.empty() || data[0] == '"' || !StartsLikeProgramPath(data))
        return Verdict::Ok;
    const std::size_t end = ProgramEnd(data);
    if (end == std::string::npos)
        return Verdict::Ok;
    // %ProgramFiles% brings its blank along, and the system expands before it parses.
    const std::string program = fileSystem_.ExpandVariables(data.substr(0, end));
    if (!BlankInFolder(program))
        return Verdict::Ok;
    if (!fileSystem_.FileExists(program))
        return Verdict::ProgramMissing;
    newData = "\"" + data.substr(0, end) + "\"" + data.substr(end);
    return Verdict::Faulty;
}

// Just past the program extension, or npos when there is none.
std::size_t CommandLineChecker::ProgramEnd(const std::string& data) const
{
    const std::string lower = lower_(data);
    for (const char* candidate : kProgramExtensions) {
        const std::size_t extension = FindText(lower, candidate, codePage_);
        if (extension != std::string::npos)
            return extension + 4;
    }
    return std::string::npos;
}

// Whether the system would try the words before the blank as a program of their own.
bool CommandLineChecker::BlankInFolder(const std::string& program) const
{
    const std::size_t blank = FindChar(program, ' ', codePage_);
    // The first blank comes before any folder, or the program part has none: a relative
    // name and its arguments, which the system finds on its search path.
    const std::size_t backslash = FindChar(program, '\\', codePage_);
    return blank != std::string::npos && backslash != std::string::npos && backslash < blank;
}

}  // namespace stlag
