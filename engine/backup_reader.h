// A repair's backup file read back, as the registry editor would read it, so that stlagc can
// take the repair back without the editor writing whatever the file says.
#ifndef STLAG_BACKUP_READER_H
#define STLAG_BACKUP_READER_H

#include <cstddef>
#include <string>
#include <vector>

#include "platform.h"
#include "registry.h"

namespace stlag {

// One value the file would write: its section's key path as written, its name ("" for the
// default value, written "@" or ""), its text without the terminating NUL, and its type:
// REG_SZ (a quoted string or hex(1)), REG_EXPAND_SZ (hex(2)), or kRegNone for anything else
// the editor would do (another type, a deletion, a deleted key's section), which no repair
// writes. line: where the value's line starts, from 1.
struct BackupEntry {
    std::size_t line = 0;
    std::string keyPath = {};
    std::string name = {};
    std::string data = {};
    unsigned long type = kRegNone;
};

// read is false when the text is no REGEDIT4 file in the forms the editor reads (a line of
// no known form, a value before any section, a string or hex list that does not end well);
// errorLine then names the first such line, and entries is to be ignored.
struct ParsedBackup {
    bool read = false;
    std::size_t errorLine = 0;
    std::vector<BackupEntry> entries;
};

// Reads ANSI text in the code page's characters, lines ended by LF or CR LF.
ParsedBackup ReadBackup(const std::string& text, const CodePage& codePage);

}  // namespace stlag

#endif
