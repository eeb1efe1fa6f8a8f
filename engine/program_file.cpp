#include "program_file.h"

namespace stlag {

namespace {

ProgramTest Unknown(UnjudgedReason reason) { return {ProgramAnswer::Unknown, reason}; }

// Off the local fixed drives, only a file found counts: any other answer may come from a
// share that is down or a disk that is not plugged in.
ProgramTest FoundOrUnknown(const FileSystem& fileSystem, const std::string& path, bool localOnly,
                           UnjudgedReason reason)
{
    if (!localOnly && fileSystem.Probe(path) == PathAnswer::File)
        return {ProgramAnswer::Present};
    return Unknown(reason);
}

bool IsDrivePath(const std::string& path)
{
    const char letter = static_cast<char>(path.empty() ? 0 : path[0] | 0x20);
    return path.size() > 1 && path[1] == ':' && letter >= 'a' && letter <= 'z';
}

}  // namespace

ProgramTest TestProgramFile(const FileSystem& fileSystem, const std::string& path, bool localOnly)
{
    // \\server\..., \\?\... and \\.\... first: a device path holds a '?' of its own.
    if (path.compare(0, 2, "\\\\") == 0 || path.compare(0, 2, "//") == 0)
        return FoundOrUnknown(fileSystem, path, localOnly, UnjudgedReason::NetworkOrDevicePath);
    if (path.find_first_of("*?") != std::string::npos)
        return Unknown(UnjudgedReason::Wildcard);
    if (!IsDrivePath(path))
        return FoundOrUnknown(fileSystem, path, localOnly, UnjudgedReason::RelativePath);
    if (!fileSystem.IsLocalFixedDrive(path[0]))
        return FoundOrUnknown(fileSystem, path, localOnly, UnjudgedReason::DriveNotLocalFixed);
    switch (fileSystem.Probe(path)) {
    case PathAnswer::File: return {ProgramAnswer::Present};
    case PathAnswer::NotFound: return {ProgramAnswer::Absent};
    case PathAnswer::Folder: return Unknown(UnjudgedReason::Folder);
    default: return Unknown(UnjudgedReason::FileSystemError);
    }
}

}  // namespace stlag
