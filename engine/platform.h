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
// NotFound, any other failure is Error.
enum class PathAnswer { File, Folder, NotFound, Error };

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // What is at path, which holds no wildcard; a relative path is taken from the current
    // folder, a UNC path asks its server.
    virtual PathAnswer Probe(const std::string& path) const = 0;
    // True when the drive of that letter is a fixed disk of this machine; false for network,
    // removable, optical, unknown and unmapped drives.
    virtual bool IsLocalFixedDrive(char letter) const = 0;
    // True when at least one entry, file or folder, matches path; * and ? match as the
    // system's file search does. Any error counts as no.
    virtual bool FileExists(const std::string& path) const = 0;
    // Every %NAME% that the environment sets replaced by its value, as the system expands
    // REG_EXPAND_SZ data; any other text stays as it is.
    virtual std::string ExpandVariables(const std::string& text) const = 0;
    // Creates a new file for writing; fails (null) when anything of that name exists.
    virtual std::unique_ptr<OutputFile> CreateNewFile(const std::string& path) = 0;
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
