// Judges one start-up command line and proposes its repair.
#ifndef STLAG_COMMAND_LINE_CHECKER_H
#define STLAG_COMMAND_LINE_CHECKER_H

#include <string>

#include "ansi_text.h"
#include "platform.h"

namespace stlag {

class CommandLineChecker {
public:
    CommandLineChecker(const FileSystem& fileSystem, const CodePage& codePage)
        : fileSystem_(fileSystem), codePage_(codePage), lower_(codePage) {}

    // True when data can be run as written; newData is then untouched. False when it is
    // faulty: newData then holds the repaired command line, or nothing to delete the value.
    bool CheckCommandLine(const std::string& data, std::string& newData) const;

private:
    const FileSystem& fileSystem_;
    const CodePage& codePage_;
    LowerCaser lower_;
};

}  // namespace stlag

#endif
