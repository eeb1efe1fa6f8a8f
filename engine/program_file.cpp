#include "program_file.h"

#include "ansi_text.h"

namespace stlag {

namespace {

ProgramTest Unknown(UnjudgedReason reason) { return {ProgramAnswer::Unknown, reason}; }

// "C:\" or "C:/": "C:name" is taken from the drive's current folder, which no one can know.
bool IsDrivePath(const std::string& path)
{
    const char letter = static_cast<char>(path.empty() ? 0 : path[0] | 0x20);
    return path.size() > 2 && path[1] == ':' && (path[2] == '\\' || path[2] == '/') && letter >= 'a' && letter <= 'z';
}

std::size_t CharCount(const std::string& text, const CodePage& codePage)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i, codePage))
        ++count;
    return count;
}

}  // namespace

ProgramTest ProgramFinder::Test(std::size_t end, bool addExe)
{
    const auto known = tests_.find({end, addExe});
    return known != tests_.end() ? known->second : tests_.emplace(std::make_pair(end, addExe), Ask(end, addExe)).first->second;
}

ProgramTest ProgramFinder::Ask(std::size_t end, bool addExe)
{
    const std::string path = line_.substr(0, end) + (addExe ? ".exe" : "");
    // \\server\..., \\?\... and \\.\... first: a device path holds a '?' of its own.
    if (path.compare(0, 2, "\\\\") == 0 || path.compare(0, 2, "//") == 0)
        return FoundOrUnknown(path, UnjudgedReason::NetworkOrDevicePath);
    if (path.find_first_of("*?") != std::string::npos)
        return Unknown(UnjudgedReason::Wildcard);
    // The system's ANSI calls refuse a longer path rather than look for it.
    if (CharCount(path, codePage_) > kLongestPath)
        return Unknown(UnjudgedReason::PathTooLong);
    if (!IsDrivePath(path))
        return FoundOrUnknown(path, UnjudgedReason::RelativePath);
    if (!fileSystem_.IsLocalFixedDrive(path[0]))
        return FoundOrUnknown(path, UnjudgedReason::DriveNotLocalFixed);
    return OnFixedDrive(path, end);
}

bool ProgramFinder::IsFolder(std::size_t end)
{
    if (otherAccount_)
        return IsDrivePath(line_) && fileSystem_.IsLocalFixedDrive(line_[0]) &&
               FolderOnTheWay(end + 1).answer == ProgramAnswer::Present;
    const auto known = ownFolders_.find(end);
    if (known != ownFolders_.end())
        return known->second;
    return ownFolders_[end] = fileSystem_.Probe(line_.substr(0, end)).answer == PathAnswer::Folder;
}

// Off the local fixed drives, only a file found counts: any other answer may come from a
// share that is down or a disk that is not plugged in.
ProgramTest ProgramFinder::FoundOrUnknown(const std::string& path, UnjudgedReason reason) const
{
    if (otherAccount_)
        return Unknown(reason);
    const PathAnswer answer = fileSystem_.Probe(path).answer;
    if (answer == PathAnswer::File)
        return {ProgramAnswer::Present};
    return Unknown(answer == PathAnswer::Folder ? UnjudgedReason::Folder : reason);
}

ProgramTest ProgramFinder::OnFixedDrive(const std::string& path, std::size_t end)
{
    if (otherAccount_) {
        const ProgramTest way = FolderOnTheWay(end);
        if (way.answer != ProgramAnswer::Present)
            return way;
    }
    const PathFacts facts = fileSystem_.Probe(path);
    if (otherAccount_ && facts.reparsePoint)
        return Unknown(UnjudgedReason::ReparsePoint);
    switch (facts.answer) {
    case PathAnswer::File: return {ProgramAnswer::Present};
    case PathAnswer::NotFound:
    case PathAnswer::Malformed: return {ProgramAnswer::Absent};
    case PathAnswer::Folder: return Unknown(UnjudgedReason::Folder);
    default: return Unknown(UnjudgedReason::FileSystemError);
    }
}

// Present when every folder of the line's first end bytes, from the drive's root on, is a
// folder and no link; Absent when one of them is not there, so neither is the program.
ProgramTest ProgramFinder::FolderOnTheWay(std::size_t end)
{
    for (std::size_t i = 3; i < end; i += CharLength(line_, i, codePage_)) {
        if (CharLength(line_, i, codePage_) != 1 || (line_[i] != '\\' && line_[i] != '/'))
            continue;
        auto known = folders_.find(i);
        if (known == folders_.end()) {
            const PathFacts facts = fileSystem_.Probe(line_.substr(0, i));
            ProgramTest test{ProgramAnswer::Present};
            if (facts.reparsePoint)
                test = Unknown(UnjudgedReason::ReparsePoint);
            else if (facts.answer == PathAnswer::Error)
                test = Unknown(UnjudgedReason::FileSystemError);
            else if (facts.answer != PathAnswer::Folder)
                test = {ProgramAnswer::Absent};
            known = folders_.emplace(i, test).first;
        }
        if (known->second.answer != ProgramAnswer::Present)
            return known->second;
    }
    return {ProgramAnswer::Present};
}

}  // namespace stlag
