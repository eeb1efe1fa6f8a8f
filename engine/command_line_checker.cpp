#include "command_line_checker.h"

#include <algorithm>

#include "program_file.h"
#include "variable_expansion.h"

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

std::size_t AnyExtensionAt(const std::string& lower, std::size_t pos)
{
    for (const ProgramExtension& extension : kProgramExtensions) {
        if (const std::size_t length = ExtensionAt(lower, pos, extension))
            return length;
    }
    return 0;
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

// No folder's name is longer.
constexpr std::size_t kLongestName = 255;

Judgement Faulty(std::string newData) { return {Verdict::Faulty, std::move(newData)}; }

Judgement Unjudged(UnjudgedReason reason) { return {Verdict::Unjudged, std::string(), reason}; }

// The repair of the expanded line made on the line as written, so that its variables stay.
Judgement QuotedAt(const std::string& written, const Expansion& expansion, std::size_t end)
{
    const std::size_t at = WrittenEnd(expansion, end);
    if (at == std::string::npos)
        return Unjudged(UnjudgedReason::ProgramInVariable);
    return Faulty("\"" + written.substr(0, at) + "\"" + written.substr(at));
}

// Whatever made a line dead or empty here, or its program missing, another account's
// variables may not: log-on expands the variables of the account that logs on.
Judgement Guarded(Judgement judged, const Expansion& expansion, LineOwner owner)
{
    const bool gone = judged.verdict == Verdict::ProgramMissing || (judged.verdict == Verdict::Faulty && judged.newData.empty());
    if (gone && owner != LineOwner::Process && HoldsAccountVariable(expansion, expansion.text.size()))
        return Unjudged(UnjudgedReason::UserVariable);
    return judged;
}
}  // namespace

// One place where the line may end, shortest first: a program type there, or a file of any
// type, or one named without its extension (".exe" added, as CreateProcess does).
struct CommandLineChecker::Candidate {
    std::size_t end;
    bool addExe;
    bool programType;
};

// What becomes of a line whose every program is proven absent.
struct CommandLineChecker::Verdicts {
    Judgement allAbsent;
};

Judgement CommandLineChecker::CheckCommandLine(const std::string& data, LineOwner owner, bool expand) const
{
    static const Verdicts kRun{Faulty(std::string())};
    if (!expand)
        return JudgeExpanded(data, AsItStands(data), owner, kRun);
    // Explorer expands before it parses: %ProgramFiles% brings its blank along.
    const Expansion expansion = Expand(data, fileSystem_);
    if (expansion.failed)
        return Unjudged(UnjudgedReason::ExpansionFailed);
    if (TrimWhiteSpace(expansion.text, codePage_).empty() && !TrimWhiteSpace(data, codePage_).empty())
        return Unjudged(UnjudgedReason::ExpansionEmpty);
    return Guarded(JudgeExpanded(data, expansion, owner, kRun), expansion, owner);
}

Judgement CommandLineChecker::JudgeExpanded(const std::string& written, const Expansion& expansion, LineOwner owner,
                                            const Verdicts& verdicts) const
{
    const std::string& text = expansion.text;
    if (text.empty() || text == "\"")
        return Faulty(std::string());
    if (TrimWhiteSpace(text, codePage_) != text) {
        const std::string trimmed = TrimWhiteSpace(written, codePage_);
        return trimmed != written ? Faulty(trimmed) : Unjudged(UnjudgedReason::ProgramInVariable);
    }
    if (FindChar(text, '\\', codePage_) == std::string::npos || text[0] == '"')
        return Judgement();
    return JudgeProgram(written, expansion, owner, verdicts);
}

Judgement CommandLineChecker::JudgeProgram(const std::string& written, const Expansion& expansion, LineOwner owner,
                                           const Verdicts& verdicts) const
{
    const std::string& text = expansion.text;
    const std::size_t end = ProgramEnd(text);
    if (end == std::string::npos || !BlankInFolder(text.substr(0, end)))
        return Judgement();
    ProgramFinder finder(fileSystem_, codePage_, text, owner == LineOwner::OtherAccount);
    if (finder.Test(end).answer == ProgramAnswer::Present)
        return Settle(written, expansion, finder, {end, false, true});
    return WholeLine(written, expansion, end, finder, verdicts);
}

// An extension in a folder's name or in the arguments can end the program too early or too
// late, so every place where the line may end is tried before a value is given up.
Judgement CommandLineChecker::WholeLine(const std::string& written, const Expansion& expansion, std::size_t programEnd,
                                        ProgramFinder& finder, const Verdicts& verdicts) const
{
    const std::string& text = expansion.text;
    UnjudgedReason doubt = UnjudgedReason::None;
    for (const Candidate& candidate : Candidates(text, finder)) {
        const ProgramTest test = finder.Test(candidate.end, candidate.addExe);
        if (test.answer == ProgramAnswer::Present)
            return Settle(written, expansion, finder, candidate);
        // The program's own doubt says best why the line was left.
        const bool atProgramEnd = candidate.end == programEnd && !candidate.addExe;
        if (test.answer == ProgramAnswer::Unknown && (doubt == UnjudgedReason::None || atProgramEnd))
            doubt = test.reason;
    }
    return doubt != UnjudgedReason::None ? Unjudged(doubt) : verdicts.allAbsent;
}

// Where a program extension ends, and where a word ends at a blank or at the line's end, as
// far as a path can reach; never where the line goes on as a folder's name.
std::vector<CommandLineChecker::Candidate> CommandLineChecker::Candidates(const std::string& text,
                                                                         ProgramFinder& finder) const
{
    const std::string lower = lower_(text);
    std::vector<Candidate> found;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size() && chars <= kLongestPath; i += CharLength(text, i, codePage_), ++chars) {
        if (CharLength(text, i, codePage_) != 1)
            continue;
        if (const std::size_t length = AnyExtensionAt(lower, i))
            AddCandidate(text, lower, finder, i + length, false, found);
        if (text[i] == ' ' && i > 0 && text[i - 1] != ' ')
            AddCandidate(text, lower, finder, i, true, found);
    }
    AddCandidate(text, lower, finder, text.size(), true, found);
    // Found at the same end as a word's end, the program extension comes first and stays.
    std::stable_sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) { return a.end < b.end; });
    found.erase(std::unique(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) { return a.end == b.end; }),
                found.end());
    return found;
}

void CommandLineChecker::AddCandidate(const std::string& text, const std::string& lower, ProgramFinder& finder,
                                      std::size_t end, bool atWordEnd, std::vector<Candidate>& found) const
{
    if (end != 0 && !EndsInsideFolderName(text, end, finder))
        found.push_back(atWordEnd ? AtWordEnd(text, lower, end) : Candidate{end, false, true});
}

// A word's end as a place to try: a program type's when its last part ends in one, as it is
// when that part has another extension or is empty (a folder's path, so that the line's end
// is ever a candidate), and with ".exe" added when it has none.
CommandLineChecker::Candidate CommandLineChecker::AtWordEnd(const std::string& text, const std::string& lower,
                                                            std::size_t end) const
{
    const std::size_t separator = LastPathSeparator(text.substr(0, end), codePage_);
    const std::size_t part = separator == std::string::npos ? 0 : separator + 1;
    std::size_t dot = std::string::npos;
    for (std::size_t i = part; i < end; i += CharLength(text, i, codePage_))
        dot = text[i] == '.' && CharLength(text, i, codePage_) == 1 ? i : dot;
    const bool extension = dot != std::string::npos;
    return {end, !extension && part != end, extension && AnyExtensionAt(lower, dot) == end - dot};
}

// A program found where its word goes on is the line's only when the whole word is no file:
// the system splits a line at its blanks, not at an extension ("x.cmd-old", "x.exe.bak").
Judgement CommandLineChecker::Settle(const std::string& written, const Expansion& expansion, ProgramFinder& finder,
                                     Candidate found) const
{
    const std::string& text = expansion.text;
    const std::size_t blank = FindChar(text.substr(found.end), ' ', codePage_);
    const std::size_t word = blank == std::string::npos ? text.size() : found.end + blank;
    if (word != found.end) {
        const Candidate whole = AtWordEnd(text, lower_(text), word);
        const ProgramTest test = finder.Test(whole.end, whole.addExe);
        if (test.answer == ProgramAnswer::Unknown)
            return Unjudged(test.reason);
        found = test.answer == ProgramAnswer::Present ? whole : found;
    }
    if (!found.programType)
        return Unjudged(UnjudgedReason::ProgramForm);
    const bool blanks = FindChar(text.substr(0, found.end), ' ', codePage_) != std::string::npos;
    return blanks ? QuotedAt(written, expansion, found.end) : Judgement();
}

// Whether the text after the first end bytes, past any blanks, goes on as the name of a
// folder that is there: "C:\Program" of "C:\Program Files\..." so ends, and "...\Contoso.com"
// of "...\Contoso.com Agent\...". An argument such as "logs\x.txt", "C:\x.txt" or
// "\\server\x" names no folder there, and a program before it may well run.
bool CommandLineChecker::EndsInsideFolderName(const std::string& text, std::size_t end, ProgramFinder& finder) const
{
    std::size_t at = end;
    while (at < text.size() && text[at] == ' ')
        ++at;
    if (at == end && at < text.size() && text[at] == '\\')
        return true;
    const std::size_t start = at;
    for (std::size_t chars = 0; at < text.size() && chars <= kLongestName; at += CharLength(text, at, codePage_), ++chars) {
        if (CharLength(text, at, codePage_) != 1)
            continue;
        if (text[at] == '\\')
            return at > start && finder.IsFolder(at);
        if (text[at] == ' ')
            return false;
    }
    return false;
}

Judgement CommandLineChecker::CheckProgramList(const std::string& data, LineOwner owner) const
{
    Judgement list;
    std::string repaired;
    for (std::size_t start = 0; start <= data.size();) {
        const std::size_t comma = FindChar(data.substr(start), ',', codePage_);
        const std::size_t end = comma == std::string::npos ? data.size() : start + comma;
        const std::string item = data.substr(start, end - start), program = TrimWhiteSpace(item, codePage_);
        const Judgement judged = program.empty() ? Judgement() : CheckProgramPath(program, owner);
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

Judgement CommandLineChecker::CheckProgramPath(const std::string& data, LineOwner owner) const
{
    static const Verdicts kPath{{Verdict::ProgramMissing, std::string()}};
    if (data.empty() || data[0] == '"' || !StartsLikeProgramPath(data))
        return Judgement();
    // %ProgramFiles% brings its blank along, and the system expands before it parses.
    const Expansion expansion = Expand(data, fileSystem_);
    if (expansion.failed)
        return Unjudged(UnjudgedReason::ExpansionFailed);
    if (TrimWhiteSpace(expansion.text, codePage_).empty())
        return Unjudged(UnjudgedReason::ExpansionEmpty);
    return Guarded(JudgeProgram(data, expansion, owner, kPath), expansion, owner);
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
