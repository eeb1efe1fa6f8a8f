// Writes the backup file of a repair in the registry editor's REGEDIT4 text format, so
// that opening the file puts every recorded value back with its old data.
#ifndef STLAG_REG_BACKUP_WRITER_H
#define STLAG_REG_BACKUP_WRITER_H

#include <cstdint>
#include <memory>
#include <string>

#include "platform.h"
#include "registry.h"

namespace stlag {

class RegBackupWriter {
public:
    // The code page tells a backslash from the second byte of a double-byte character.
    RegBackupWriter(FileSystem& fileSystem, const CodePage& codePage) : fileSystem_(fileSystem), codePage_(codePage) {}
    // Closes a file that Finish did not, without its final line end.
    ~RegBackupWriter();
    RegBackupWriter(const RegBackupWriter&) = delete;
    RegBackupWriter& operator=(const RegBackupWriter&) = delete;

    // Creates a new file at path (never one that exists) and writes the signature to disk.
    // False when nothing could be created or the signature did not reach the disk; the
    // writer then holds no file, and a file it had just created is deleted again.
    bool Create(const std::string& path);

    // Records one value: a section header when keyPath differs from the last one, then the
    // value line. True only when both are on disk, not merely in the system's cache: the
    // caller changes the value right afterwards. type is REG_SZ or REG_EXPAND_SZ. A key path
    // or name that cannot be recorded writes nothing and gives false. Any other failure ends
    // the file as Finish does, cut back to the end of the last value recorded.
    bool WriteValue(const std::string& keyPath, const std::string& valueName, const std::string& oldData,
                    unsigned long type = kRegSz);

    // Writes the final line end and closes the file; false when either failed or no file
    // was open. Lines already recorded stay on disk either way.
    bool Finish();

    bool IsOpen() const { return file_ != nullptr; }

    // A name holding any character below 0x20 cannot be written so that the registry editor
    // reads it back: a line break ends the line, and at a NUL the editor stops reading the file.
    static bool CanRecordName(const std::string& valueName);
    // Nor can a key path: a line break would start a section of the key name's own making.
    static bool CanRecordKey(const std::string& keyPath);

    // Each backslash doubled, then each double quote preceded by a backslash.
    static std::string Escape(const std::string& text, const CodePage& codePage);

    // The value line without its leading LF: the quoted string form, or the hex(1) form
    // when the data holds CR or LF, which the quoted form would cut off at the line end.
    // REG_EXPAND_SZ always takes the hex(2) form, the only one that keeps its type.
    static std::string ValueLine(const std::string& valueName, const std::string& oldData, const CodePage& codePage,
                                 unsigned long type = kRegSz);

private:
    FileSystem& fileSystem_;
    const CodePage& codePage_;
    std::unique_ptr<OutputFile> file_;
    std::string lastKeyPath_;
    std::uint64_t recordedSize_ = 0;  // the signature and every value recorded
};

}  // namespace stlag

#endif
