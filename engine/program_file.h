// Whether a program file is there, in three answers: only a proven absence may cost a
// value its life, and another account's paths are not asked about off this machine.
#ifndef STLAG_PROGRAM_FILE_H
#define STLAG_PROGRAM_FILE_H

#include <string>

#include "finding.h"
#include "platform.h"

namespace stlag {

enum class ProgramAnswer { Present, Absent, Unknown };

struct ProgramTest {
    ProgramAnswer answer = ProgramAnswer::Unknown;
    UnjudgedReason reason = UnjudgedReason::None;  // why, with Unknown
};

// Present: the file system found a file, not a folder, at path. Absent: path lies on a
// local fixed drive and the answer was "file not found" or "path not found". Unknown for
// all else: UNC and device paths, other drives, a path without a drive, * or ?, a folder,
// any other error. localOnly: a path off the local fixed drives is not asked about at all.
ProgramTest TestProgramFile(const FileSystem& fileSystem, const std::string& path, bool localOnly);

}  // namespace stlag

#endif
