// A small reader of REGEDIT4 files, written apart from the backup writer so that the
// tests check the writer against the format rather than against itself.
#ifndef STLAG_REGEDIT4_READER_H
#define STLAG_REGEDIT4_READER_H

#include <string>
#include <vector>

namespace stlag {

struct RegFileValue {
    std::string keyPath;
    std::string name;
    std::string data;  // string data without its terminating NUL
    bool operator==(const RegFileValue& o) const
    {
        return keyPath == o.keyPath && name == o.name && data == o.data;
    }
};

// Reads quoted string values and hex(1) string values under [key] headers. False, with
// error set, for anything else or anything malformed.
bool ReadRegedit4(const std::string& file, std::vector<RegFileValue>& values, std::string& error);

}  // namespace stlag

#endif
