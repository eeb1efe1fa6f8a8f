// Judges one start-up command line and proposes its repair.
#ifndef STLAG_COMMAND_LINE_CHECKER_H
#define STLAG_COMMAND_LINE_CHECKER_H

#include <string>

#include "ansi_text.h"
#include "finding.h"
#include "platform.h"

namespace stlag {

class CommandLineChecker {
public:
    CommandLineChecker(const FileSystem& fileSystem, const CodePage& codePage)
        : fileSystem_(fileSystem), codePage_(codePage), lower_(codePage) {}

    // True when data can be run as written; newData is then untouched. False when it is
    // faulty: newData then holds the repaired command line, or nothing to delete the value.
    bool CheckCommandLine(const std::string& data, std::string& newData) const;

    // For a program path that others depend on (a service's ImagePath, an uninstall
    // string): Faulty with newData quoted when an unquoted program path holds a blank in its
    // folder and the program exists; ProgramMissing when it does not; Ok otherwise, also
    // for the kernel's own forms. Variables are expanded for the existence test only:
    // newData keeps them. Never proposes a deletion; newData is only set when Faulty.
    Verdict CheckProgramPath(const std::string& data, std::string& newData) const;

private:
    std::size_t ProgramEnd(const std::string& data) const;
    bool BlankInFolder(const std::string& program) const;

    const FileSystem& fileSystem_;
    const CodePage& codePage_;
    LowerCaser lower_;
};

}  // namespace stlag

#endif
