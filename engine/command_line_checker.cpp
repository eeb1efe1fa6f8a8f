#include "command_line_checker.h"

#include "program_file.h"

namespace stlag {

namespace {
// Searched in this order: an ".exe" anywhere wins over an earlier ".bat". The first four
// count wherever they stand (the ".exe" of ".executable"); the program types that the
// default PATHEXT and Explorer's associations add must end a word, or ".js" would cut
// ".json" short and carry the program path into a file name of the arguments.
struct ProgramExtension {
    const char* text;
    bool endsWord;
};
const ProgramExtension kProgramExtensions[] = {
    {".exe", false}, {".bat", false}, {".dll", false}, {".com", false}, {".cmd", true}, {".vbs", true},
    {".vbe", true},  {".js", true},   {".jse", true},  {".wsf", true},  {".wsh", true}, {".msc", true},
    {".cpl", true},  {".scr", true},  {".pif", true},  {".lnk", true}};

// The length of the extension at pos of a lower-cased text, or 0.
std::size_t ExtensionAt(const std::string& lower, std::size_t pos, const ProgramExtension& extension)
{
    const std::size_t length = std::char_traits<char>::length(extension.text);
    if (lower.compare(pos, length, extension.text) != 0)
        return 0;
    const char next = pos + length < lower.size() ? lower[pos + length] : ' ';
    const bool wordGoesOn = (next >= 'a' && next <= 'z') || (next >= '0' && next <= '9');
    return extension.endsWord && wordGoesOn ? 0 : length;
}

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

Judgement CommandLineChecker::CheckCommandLine(const std::string& data, bool localOnly, bool expand) const
{
    if (!expand)
        return JudgeLine(data, localOnly);
    // Explorer expands before it parses: %ProgramFiles% brings its blank along.
    const std::string expanded = fileSystem_.ExpandVariables(data);
    Judgement judged = JudgeLine(expanded, localOnly);
    if (judged.verdict != Verdict::Faulty || judged.newData.empty())
        return judged;
    return AsWritten(data, expanded, judged.newData);
}

// The repair of the expanded line made on the line as written, so that its variables stay.
Judgement CommandLineChecker::AsWritten(const std::string& data, const std::string& expanded,
                                        const std::string& repaired) const
{
    if (repaired == TrimWhiteSpace(expanded, codePage_)) {
        const std::string trimmed = TrimWhiteSpace(data, codePage_);
        return trimmed != data ? Faulty(trimmed) : Unjudged(UnjudgedReason::ProgramInVariable);
    }
    const std::string program = repaired.substr(1, repaired.find('"', 1) - 1);
    for (std::size_t end = 1; end <= data.size(); end += CharLength(data, end, codePage_)) {
        if (fileSystem_.ExpandVariables(data.substr(0, end)) == program)
            return Faulty(QuotedAt(data, end));
    }
    return Unjudged(UnjudgedReason::ProgramInVariable);
}

Judgement CommandLineChecker::JudgeLine(const std::string& data, bool localOnly) const
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
    for (std::size_t i = 0; i < end; i += CharLength(lower, i, codePage_)) {
        std::size_t length = 0;
        for (const ProgramExtension& extension : kProgramExtensions)
            length = length != 0 ? length : ExtensionAt(lower, i, extension);
        if (length == 0 || i + length >= end)
            continue;
        const std::string program = data.substr(0, i + length);
        const ProgramTest test = TestProgramFile(fileSystem_, program, localOnly);
        if (test.answer == ProgramAnswer::Unknown)
            return Unjudged(test.reason);
        if (test.answer == ProgramAnswer::Present)
            return BlankInFolder(program) ? Faulty(QuotedAt(data, i + length)) : Judgement();
    }
    return Faulty(std::string());
}

Judgement CommandLineChecker::CheckProgramList(const std::string& data, bool localOnly) const
{
    Judgement list;
    std::string repaired;
    for (std::size_t start = 0; start <= data.size();) {
        const std::size_t comma = FindChar(data.substr(start), ',', codePage_);
        const std::size_t end = comma == std::string::npos ? data.size() : start + comma;
        const std::string item = data.substr(start, end - start), program = TrimWhiteSpace(item, codePage_);
        const Judgement judged = program.empty() ? Judgement() : CheckProgramPath(program, localOnly);
        repaired += judged.verdict == Verdict::Faulty ? item.substr(0, item.find(program)) + judged.newData +
                                                            item.substr(item.find(program) + program.size())
                                                      : item;
        // A fault outweighs a doubt, and a doubt a missing program.
        if (static_cast<int>(judged.verdict) > static_cast<int>(list.verdict))
            list = judged;
        if (end == data.size())
            break;
        repaired += ',';
        start = end + 1;
    }
    if (list.verdict != Verdict::Faulty)
        return list;
    return {Verdict::ChangeByHand, repaired};
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
    for (const ProgramExtension& extension : kProgramExtensions) {
        // Most texts hold none of them; only a byte match needs the character walk.
        if (lower.find(extension.text) == std::string::npos)
            continue;
        for (std::size_t i = 0; i < lower.size(); i += CharLength(lower, i, codePage_)) {
            if (const std::size_t length = ExtensionAt(lower, i, extension))
                return i + length;
        }
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
