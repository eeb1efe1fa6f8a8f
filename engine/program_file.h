// Whether a program file is there, in three answers: only a proven absence may cost a
// value its life, another account's paths are not asked about off this machine, and no
// link on the way to one of them is gone through.
#ifndef STLAG_PROGRAM_FILE_H
#define STLAG_PROGRAM_FILE_H

#include <map>
#include <string>
#include <vector>

#include "finding.h"
#include "platform.h"

namespace stlag {

enum class ProgramAnswer { Present, Absent, Unknown };

struct ProgramTest {
    ProgramAnswer answer = ProgramAnswer::Unknown;
    UnjudgedReason reason = UnjudgedReason::None;  // why, with Unknown
};

// The longest path, in characters, that the system's ANSI file functions take.
constexpr std::size_t kLongestPath = 259;

// Tests the programs whose paths begin one line: the line's first end bytes, ".exe" added
// when asked. Present: the file system found a file, not a folder (with ".exe" asked for, a
// file of that name with any extension). Absent: the path lies on
// a local fixed drive ("C:\", not "C:name") and the answer was "file not found", "path not
// found" or a malformed name. Unknown for all else: UNC and device paths, other drives, a
// path without a drive, * or ?, a folder, a path longer than kLongestPath, any other error.
// otherAccount: a path off the local fixed drives is not asked about at all, and one on them
// is walked from its root, each folder asked about once per line, "." and ".." read as the
// system reads them: a link, junction or mount point on the way answers Unknown without
// being gone through. Each path is asked about once.
class ProgramFinder {
public:
    ProgramFinder(const FileSystem& fileSystem, const CodePage& codePage, const std::string& line,
                  bool otherAccount)
        : fileSystem_(fileSystem), codePage_(codePage), line_(line), otherAccount_(otherAccount) {}

    ProgramTest Test(std::size_t end, bool addExe = false);

    // Whether the line's first end bytes name a folder that is there (for another account:
    // reached through no link).
    bool IsFolder(std::size_t end);

private:
    ProgramTest Ask(std::size_t end, bool addExe);
    ProgramTest FoundOrUnknown(const std::string& path, UnjudgedReason reason) const;
    ProgramTest OnFixedDrive(const std::string& path);
    ProgramTest FolderOnTheWay(const std::string& path, bool withLast);
    bool NormalParts(const std::string& path, std::vector<std::string>& parts) const;

    const FileSystem& fileSystem_;
    const CodePage& codePage_;
    const std::string& line_;
    bool otherAccount_;
    std::map<std::string, ProgramTest> folders_;  // by the folder's path
    std::map<std::pair<std::size_t, bool>, ProgramTest> tests_;  // by end and addExe
    std::map<std::size_t, bool> ownFolders_;                      // by end, when not another account's
};

}  // namespace stlag

#endif
