#include "command_line_checker.h"

#include "program_file.h"

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

Judgement Faulty(std::string newData) { return {Verdict::Faulty, std::move(newData)}; }

Judgement Unjudged(UnjudgedReason reason) { return {Verdict::Unjudged, std::string(), reason}; }

std::string QuotedAt(const std::string& data, std::size_t end)
{
    return "\"" + data.substr(0, end) + "\"" + data.substr(end);
}
}  // namespace

Judgement CommandLineChecker::CheckCommandLine(const std::string& data, bool localOnly) const
{
    if (data.empty() || data == "\"")
        return Faulty(std::string());
    const std::string trimmed = TrimWhiteSpace(data, codePage_);
    if (trimmed != data)
        return Faulty(trimmed);
    if (FindChar(data, '\\', codePage_) == std::string::npos || data[0] == '"')
        return Judgement();
    const std::size_t end = ProgramEnd(data);
    if (end == std::string::npos || !BlankInFolder(data.substr(0, end)))
        return Judgement();
    const ProgramTest test = TestProgramFile(fileSystem_, data.substr(0, end), localOnly);
    if (test.answer == ProgramAnswer::Present)
        return Faulty(QuotedAt(data, end));
    if (test.answer == ProgramAnswer::Unknown)
        return Unjudged(test.reason);
    return ShorterProgram(data, end, localOnly);
}

// An extension in the arguments can carry the program path past the real program, so the
// value goes only when no shorter program prefix is there either, or could be.
Judgement CommandLineChecker::ShorterProgram(const std::string& data, std::size_t end, bool localOnly) const
{
    const std::string lower = lower_(data);
    for (std::size_t i = 0; i + 4 < end; i += CharLength(lower, i, codePage_)) {
        bool extensionEnds = false;
        for (const char* extension : kProgramExtensions)
            extensionEnds = extensionEnds || lower.compare(i, 4, extension) == 0;
        if (!extensionEnds)
            continue;
        const std::string program = data.substr(0, i + 4);
        const ProgramTest test = TestProgramFile(fileSystem_, program, localOnly);
        if (test.answer == ProgramAnswer::Unknown)
            return Unjudged(test.reason);
        if (test.answer == ProgramAnswer::Present)
            return BlankInFolder(program) ? Faulty(QuotedAt(data, i + 4)) : Judgement();
    }
    return Faulty(std::string());
}

Judgement CommandLineChecker::CheckProgramPath(const std::string& data, bool localOnly) const
{
    if (data.empty() || data[0] == '"' || !StartsLikeProgramPath(data))
        return Judgement();
    const std::size_t end = ProgramEnd(data);
    if (end == std::string::npos)
        return Judgement();
    // %ProgramFiles% brings its blank along, and the system expands before it parses.
    const std::string program = fileSystem_.ExpandVariables(data.substr(0, end));
    if (!BlankInFolder(program))
        return Judgement();
    const ProgramTest test = TestProgramFile(fileSystem_, program, localOnly);
    if (test.answer == ProgramAnswer::Present)
        return Faulty(QuotedAt(data, end));
    if (test.answer == ProgramAnswer::Absent)
        return {Verdict::ProgramMissing, std::string()};
    return Unjudged(test.reason);
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

// Whether the system would try the words before the blank as a program of their own: the
// first blank comes before any folder ends, or the program part has no folder at all.
bool CommandLineChecker::BlankInFolder(const std::string& program) const
{
    const std::size_t blank = FindChar(program, ' ', codePage_);
    const std::size_t backslash = FindChar(program, '\\', codePage_);
    return blank != std::string::npos && (backslash == std::string::npos || backslash < blank);
}

}  // namespace stlag
