// The engine's other windows on the world: the file system, the ANSI code page and
// the string table. Each has a Win32 implementation and a test one.
#ifndef STLAG_PLATFORM_H
#define STLAG_PLATFORM_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace stlag {

// A file opened for writing raw bytes; closed by Close, Discard or on destruction.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    virtual bool Write(const char* bytes, std::size_t count) = 0;
    // Hands everything written so far to the disk, not only to the system's cache.
    virtual bool Flush() = 0;
    // Cuts the file back to its first size bytes through its own handle; writing goes on from
    // there. False when the size could not be set.
    virtual bool CutTo(std::uint64_t size) = 0;
    virtual bool Close() = 0;
    // Deletes the file through the handle it was written with, never by name, so whatever
    // has come to lie at its path stays; then closes it. False when it could not be deleted.
    virtual bool Discard() = 0;
};

// What the file system says is at a path: "file not found" and "path not found" are
// NotFound, a name it rejects as malformed (ERROR_INVALID_NAME, ERROR_BAD_PATHNAME,
// ERROR_DIRECTORY) is Malformed, any other failure is Error. reparsePoint: the entry itself
// is a link, junction or mount point, told without following it.
enum class PathAnswer { File, Folder, NotFound, Malformed, Error };
struct PathFacts {
    PathAnswer answer = PathAnswer::Error;
    bool reparsePoint = false;
};

// An environment variable of this process: not set, set to text, or not readable as ANSI
// text (a character the code page lacks, or a failed call).
struct VariableValue {
    enum State { Unset, Set, Unreadable } state = Unset;
    std::string text;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // What is at path, which holds no wildcard; a relative path is taken from the current
    // folder, a UNC path asks its server. The last part of path is not followed if a link.
    virtual PathFacts Probe(const std::string& path) const = 0;
    // True when the drive of that letter is a fixed disk of this machine; false for network,
    // removable, optical, unknown and unmapped drives.
    virtual bool IsLocalFixedDrive(char letter) const = 0;
    // True when at least one entry, file or folder, matches path; * and ? match as the
    // system's file search does. Any error counts as no.
    virtual bool FileExists(const std::string& path) const = 0;
    // The variable of that name (without its %), whatever its letter case.
    virtual VariableValue Variable(const std::string& name) const = 0;
    // The files the program writes are named in UTF-8, as they may be named in any script.
    // Whether anything, file or folder, has that name.
    virtual bool NameTaken(const std::string& utf8Path) const = 0;
    // Creates a new file for writing; fails (null) when anything of that name exists.
    virtual std::unique_ptr<OutputFile> CreateNewFile(const std::string& utf8Path) = 0;
};

class CodePage {
public:
    virtual ~CodePage() = default;
    // True when b starts a double-byte character in the system's ANSI code page.
    virtual bool IsLeadByte(unsigned char b) const = 0;
    // The ANSI text as the system converts it to UTF-16.
    virtual std::u16string ToWide(const std::string& ansi) const = 0;
};

// Texts of the string table, in the ANSI code page; empty for an unknown id.
class Texts {
public:
    virtual ~Texts() = default;
    virtual std::string Load(unsigned id) const = 0;
};

}  // namespace stlag

#endif
