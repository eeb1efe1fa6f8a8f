// What the engine needs of the registry, in plain values: a root, a key path,
// a value name. The Win32 adapter and the in-memory one for tests implement it.
#ifndef STLAG_REGISTRY_H
#define STLAG_REGISTRY_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace stlag {

// The system's own status codes, so both implementations answer alike.
enum : long {
    kErrorSuccess = 0,
    kErrorFileNotFound = 2,
    kErrorAccessDenied = 5,
    kErrorMoreData = 234,
    kErrorNoMoreItems = 259,
};

enum : unsigned long {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegMultiSz = 7,
};

enum class RegistryRoot { CurrentUser, LocalMachine };
enum class RegAccess { Read, Write };

using RegKey = std::uintptr_t;

extern const char kRunKeyBase[];  // "Software\\Microsoft\\Windows\\CurrentVersion\\"

// "HKEY_CURRENT_USER", exactly and case-sensitively, is the current user; any other text
// is the local machine.
RegistryRoot RootFromName(const std::string& rootName);

// The sub-key below the root: the start-up base followed by keyName.
std::string RunSubKey(const std::string& keyName);

// rootName + "\" + the sub-key: the key path used in the log, the backup and failure lists.
std::string RunKeyFullPath(const std::string& rootName, const std::string& keyName);

class Registry {
public:
    virtual ~Registry() = default;

    // 0 with key set, or the status code (2 missing, 5 access denied...).
    virtual long OpenKey(RegistryRoot root, const std::string& subKey, RegAccess access, RegKey& key) = 0;

    // Name and type of the value at index. nameCapacity counts the terminating NUL: a longer
    // name answers 234 and leaves name empty; past the last value answers 259.
    virtual long EnumValue(RegKey key, unsigned long index, std::size_t nameCapacity, std::string& name,
                           unsigned long& type) = 0;

    // With data null: the data size in bytes. Otherwise reads at most size bytes and sets size
    // to the bytes read; 234 when the data does not fit.
    virtual long QueryValue(RegKey key, const std::string& name, unsigned long& type, char* data,
                            unsigned long& size) = 0;

    // The same value's data as the system holds it (UTF-16), up to its first NUL.
    virtual long QueryValueWide(RegKey key, const std::string& name, std::u16string& data) = 0;

    // REG_SZ with the terminating NUL counted in the size.
    virtual long SetStringValue(RegKey key, const std::string& name, const std::string& data) = 0;
    virtual long DeleteValue(RegKey key, const std::string& name) = 0;
    virtual void CloseKey(RegKey key) = 0;
};

}  // namespace stlag

#endif
