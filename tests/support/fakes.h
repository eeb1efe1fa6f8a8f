// Test stand-ins for the file system and the ANSI code page.
#ifndef STLAG_FAKES_H
#define STLAG_FAKES_H

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform.h"

namespace stlag {

// Files live in memory; names are compared without regard to ASCII case.
class MemoryFileSystem : public FileSystem {
public:
    void AddFile(const std::string& path, const std::string& contents = "");
    bool FileExists(const std::string& path) const override;
    std::unique_ptr<OutputFile> CreateNewFile(const std::string& path) override;
    bool RemoveFile(const std::string& path) override { return files_.erase(Fold(path)) != 0; }

    // Contents of a file created or added; empty when there is none.
    std::string Contents(const std::string& path) const;
    // Paths FileExists was asked about, in order.
    mutable std::vector<std::string> existenceQueries;

    bool failCreate = false;
    int failWriteNumber = 0;  // the Nth Write (1-based) over all files fails; 0 never
    int failFlushNumber = 0;
    int writeCount = 0;
    int flushCount = 0;
    // Bytes that had been flushed when each file's flush happened, for order checks.
    std::map<std::string, std::string> flushed;

private:
    friend class MemoryOutputFile;
    static std::string Fold(const std::string& path);
    std::map<std::string, std::string> files_;
};

// Single-byte code page: no lead bytes, bytes map to U+0000..U+00FF.
class SingleByteCodePage : public CodePage {
public:
    bool IsLeadByte(unsigned char) const override { return false; }
    std::u16string ToWide(const std::string& ansi) const override;
};

// Lead bytes as in code page 932 (0x81-0x9F, 0xE0-0xFC); trail bytes may be 0x40-0xFC.
class ShiftJisCodePage : public CodePage {
public:
    bool IsLeadByte(unsigned char b) const override { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
    std::u16string ToWide(const std::string& ansi) const override;
};

}  // namespace stlag

#endif
