// Judges one start-up command line or program path and proposes its repair.
#ifndef STLAG_COMMAND_LINE_CHECKER_H
#define STLAG_COMMAND_LINE_CHECKER_H

#include <string>
#include <vector>

#include "ansi_text.h"
#include "finding.h"
#include "platform.h"

namespace stlag {

class ProgramFinder;
struct Expansion;

// A verdict, with the repaired data when Faulty (empty: delete the value) and the reason
// when Unjudged.
struct Judgement {
    Verdict verdict = Verdict::Ok;
    std::string newData;
    UnjudgedReason reason = UnjudgedReason::None;
};

// Whose value a line is: the process's own hive's, the machine's (run for whoever logs on),
// or another account's hive's. Only the process's own variables are the ones log-on uses.
enum class LineOwner { Process, Machine, OtherAccount };

class CommandLineChecker {
public:
    CommandLineChecker(const FileSystem& fileSystem, const CodePage& codePage)
        : fileSystem_(fileSystem), codePage_(codePage), lower_(codePage) {}

    // A start-up line: Ok when it can be run as written; Faulty when empty, a lone quote or
    // padded with white space (trimmed), or when an unquoted program path holds a blank
    // before its folder ends: quoted at the program when it is there, else at the shortest
    // program along the whole line that is there, and deleted only when every program the
    // line could start is proven absent. Unjudged when that cannot be told, or when a file
    // of another kind stands where the line may end. expand: REG_EXPAND_SZ data, judged as
    // expanded and repaired as written, variables kept. Another owner's variables are not
    // the process's: a path built on them is never proven absent, and another account's
    // paths are asked about on this machine's fixed disks only, following no link.
    Judgement CheckCommandLine(const std::string& data, LineOwner owner = LineOwner::Process,
                               bool expand = false) const;

    // A program path that others depend on (a service's ImagePath, an uninstall string),
    // judged as a start-up line with its variables expanded, but never deleted: where a
    // start-up line would go, it is ProgramMissing. The kernel's own forms are Ok.
    Judgement CheckProgramPath(const std::string& data, LineOwner owner = LineOwner::Process) const;

    // A comma-separated list of program paths (Winlogon's Userinit), each judged as a program
    // path: ChangeByHand with the whole list, every faulty item quoted, when any is faulty;
    // otherwise the weightiest verdict of an item (Unjudged, ProgramMissing, then Ok).
    Judgement CheckProgramList(const std::string& data, LineOwner owner = LineOwner::Process) const;

private:
    struct Candidate;
    struct Verdicts;
    Judgement JudgeExpanded(const std::string& written, const Expansion& expansion, LineOwner owner,
                            const Verdicts& verdicts) const;
    Judgement JudgeProgram(const std::string& written, const Expansion& expansion, LineOwner owner,
                           const Verdicts& verdicts) const;
    Judgement WholeLine(const std::string& written, const Expansion& expansion, std::size_t programEnd,
                        ProgramFinder& finder, const Verdicts& verdicts) const;
    std::vector<Candidate> Candidates(const std::string& text, ProgramFinder& finder) const;
    void AddCandidate(const std::string& text, const std::string& lower, ProgramFinder& finder, std::size_t end,
                      bool atWordEnd, std::vector<Candidate>& found) const;
    Candidate AtWordEnd(const std::string& text, const std::string& lower, std::size_t end) const;
    Judgement Settle(const std::string& written, const Expansion& expansion, ProgramFinder& finder,
                     Candidate found) const;
    bool EndsInsideFolderName(const std::string& text, std::size_t end, ProgramFinder& finder) const;
    std::size_t ProgramEnd(const std::string& data) const;
    bool BlankInFolder(const std::string& program) const;

    const FileSystem& fileSystem_;
    const CodePage& codePage_;
    LowerCaser lower_;
};

}  // namespace stlag

#endif
