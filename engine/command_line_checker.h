// Judges one start-up command line or program path and proposes its repair.
#ifndef STLAG_COMMAND_LINE_CHECKER_H
#define STLAG_COMMAND_LINE_CHECKER_H

#include <string>

#include "ansi_text.h"
#include "finding.h"
#include "platform.h"

namespace stlag {

// A verdict, with the repaired data when Faulty (empty: delete the value) and the reason
// when Unjudged.
struct Judgement {
    Verdict verdict = Verdict::Ok;
    std::string newData;
    UnjudgedReason reason = UnjudgedReason::None;
};

class CommandLineChecker {
public:
    CommandLineChecker(const FileSystem& fileSystem, const CodePage& codePage)
        : fileSystem_(fileSystem), codePage_(codePage), lower_(codePage) {}

    // A start-up line: Ok when it can be run as written; Faulty when empty, a lone quote or
    // padded with white space (trimmed), or when an unquoted program path holds a blank
    // before its folder ends: quoted when the program is there, deleted only when it and
    // every shorter program prefix are proven absent, and quoted at the shortest prefix
    // that is there. Unjudged when the file system could not tell. localOnly: the line is
    // another account's, so only local fixed drives are asked about. expand: the line is
    // REG_EXPAND_SZ data, judged as expanded and repaired as written, variables kept.
    Judgement CheckCommandLine(const std::string& data, bool localOnly = false, bool expand = false) const;

    // A program path that others depend on (a service's ImagePath, an uninstall string):
    // Faulty with the path quoted when it holds a blank in its folder and the program is
    // there; ProgramMissing when it is proven absent; Unjudged when that cannot be told;
    // Ok otherwise, also for the kernel's own forms. Variables are expanded for the test
    // only: newData keeps them. Never proposes a deletion.
    Judgement CheckProgramPath(const std::string& data, bool localOnly = false) const;

    // A comma-separated list of program paths (Winlogon's Userinit), each judged as a program
    // path: ChangeByHand with the whole list, every faulty item quoted, when any is faulty;
    // otherwise the weightiest verdict of an item (Unjudged, ProgramMissing, then Ok).
    Judgement CheckProgramList(const std::string& data, bool localOnly = false) const;

private:
    Judgement JudgeLine(const std::string& data, bool localOnly) const;
    Judgement AsWritten(const std::string& data, const std::string& expanded, const std::string& repaired) const;
    std::size_t ProgramEnd(const std::string& data) const;
    Judgement ShorterProgram(const std::string& data, std::size_t end, bool localOnly) const;
    bool BlankInFolder(const std::string& program) const;

    const FileSystem& fileSystem_;
    const CodePage& codePage_;
    LowerCaser lower_;
};

}  // namespace stlag

#endif
