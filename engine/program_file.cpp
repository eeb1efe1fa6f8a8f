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
    const ProgramTest test = OnFixedDrive(path);
    // A name without an extension may start a program of another type too.
    if (addExe && test.answer == ProgramAnswer::Absent && fileSystem_.FileExists(line_.substr(0, end) + ".*"))
        return {ProgramAnswer::Present};
    return test;
}

bool ProgramFinder::IsFolder(std::size_t end)
{
    if (otherAccount_)
        return IsDrivePath(line_) && fileSystem_.IsLocalFixedDrive(line_[0]) &&
               FolderOnTheWay(line_.substr(0, end), true).answer == ProgramAnswer::Present;
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

ProgramTest ProgramFinder::OnFixedDrive(const std::string& path)
{
    if (otherAccount_) {
        const ProgramTest way = FolderOnTheWay(path, false);
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

// Present when every folder the path names, from the drive's root on, is a folder and no
// link; Absent when one of them is not there, so neither is what lies below it. withLast: the
// path's last part is a folder to walk too.
ProgramTest ProgramFinder::FolderOnTheWay(const std::string& path, bool withLast)
{
    std::vector<std::string> parts;
    if (!NormalParts(path, parts))
        return Unknown(UnjudgedReason::FileSystemError);
    std::string folder = path.substr(0, 2);
    for (std::size_t i = 0; i + (withLast ? 0 : 1) < parts.size(); ++i) {
        folder += "\\" + parts[i];
        auto known = folders_.find(folder);
        if (known == folders_.end()) {
            const PathFacts facts = fileSystem_.Probe(folder);
            ProgramTest test{ProgramAnswer::Present};
            if (facts.reparsePoint)
                test = Unknown(UnjudgedReason::ReparsePoint);
            else if (facts.answer == PathAnswer::Error)
                test = Unknown(UnjudgedReason::FileSystemError);
            else if (facts.answer != PathAnswer::Folder)
                test = {ProgramAnswer::Absent};
            known = folders_.emplace(folder, test).first;
        }
        if (known->second.answer != ProgramAnswer::Present)
            return known->second;
    }
    return {ProgramAnswer::Present};
}

// The parts of a drive path after its root as the system reads them: "." and ".." taken away
// by their text, before any disk is asked. False for a part of dots and blanks alone, which
// the system reads in ways of its own.
bool ProgramFinder::NormalParts(const std::string& path, std::vector<std::string>& parts) const
{
    std::size_t start = 3;
    for (std::size_t i = 3; i <= path.size(); i += i < path.size() ? CharLength(path, i, codePage_) : 1) {
        if (i < path.size() && (CharLength(path, i, codePage_) != 1 || (path[i] != '\\' && path[i] != '/')))
            continue;
        const std::string part = path.substr(start, i - start);
        start = i + 1;
        if (part == ".." && !parts.empty())
            parts.pop_back();
        else if (!part.empty() && part.find_first_not_of(". ") == std::string::npos && part != "." && part != "..")
            return false;
        else if (!part.empty() && part != "." && part != "..")
            parts.push_back(part);
    }
    return true;
}

}  // namespace stlag
