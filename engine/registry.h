// What the engine needs of the registry, in plain values: a root and view, a key path,
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
    kErrorPathNotFound = 3,
    kErrorAccessDenied = 5,
    kErrorInvalidName = 123,
    kErrorMoreData = 234,
    kErrorNoMoreItems = 259,
    kErrorNoUnicodeTranslation = 1113,
};

// "ERROR_ACCESS_DENIED" and the like, or "status N" for a code without a name here.
std::string StatusName(long status);

enum : unsigned long {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegMultiSz = 7,
};

// Users is HKEY_USERS: its sub-keys begin with the name of a loaded hive, a user's SID.
enum class RegistryRoot { CurrentUser, LocalMachine, Users };
// Native: the program's own (64-bit) view; Wow64: the 32-bit programs' view of the machine.
enum class RegistryView { Native, Wow64 };
enum class RegAccess { Read, Write };

using RegKey = std::uintptr_t;

extern const char kRunKeyBase[];  // "Software\\Microsoft\\Windows\\CurrentVersion\\"

// "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE" or "HKEY_USERS".
const char* RootName(RegistryRoot root);

// The sub-key below the root: the start-up base followed by keyName.
std::string RunSubKey(const std::string& keyName);

// The key path used in the log, the backup and failure lists: the root's name + "\" +
// subKey (the name alone for an empty subKey), with "WOW6432Node" after a leading
// "Software" in the 32-bit view.
std::string KeyFullPath(RegistryRoot root, const std::string& subKey, RegistryView view = RegistryView::Native);

// Whether a key path holds a character below 0x20: a line break in a section header would
// let the key's name write sections of its own into a backup file.
bool HoldsControlCharacter(const std::string& text);

// One value as one read gives it. Name and text data are in the ANSI code page, from one
// conversion each; a flag is false when a character had no counterpart there, and the true
// text, the registry's own UTF-16, is then beside it. The data of REG_SZ and REG_EXPAND_SZ
// is all of it, NULs included; other types leave it empty.
struct RegValue {
    std::string name;
    unsigned long type = kRegNone;
    std::string data;
    bool nameInCodePage = true;
    bool dataInCodePage = true;
    bool dataRead = true;  // false: the name is known, the data could not be read
    std::u16string trueName = {}, trueData = {};
};

class Registry {
public:
    virtual ~Registry() = default;

    // 0 with key set, or the status code (2 missing, 5 access denied...). Write access
    // may also read values.
    virtual long OpenKey(RegistryRoot root, RegistryView view, const std::string& subKey, RegAccess access,
                         RegKey& key) = 0;

    // The value at index: 0, 259 past the last value, 234 when its ANSI name would not fit
    // in kValueNameLimit bytes (value left empty); any other code ends the walk.
    virtual long ReadValue(RegKey key, unsigned long index, RegValue& value) = 0;

    // The value of that (ANSI) name, as ReadValue gives it; 2 when there is none.
    virtual long ReadNamedValue(RegKey key, const std::string& name, RegValue& value) = 0;

    // The ANSI name of the sub-key at index: 0, 259 past the last one; any other code ends
    // the walk. When the name, read as Unicode, has a character the code page lacks, name
    // holds a stand-in that must never be opened, and trueName the name; else trueName is empty.
    virtual long EnumSubKey(RegKey key, unsigned long index, std::string& name, std::u16string& trueName) = 0;

    // type is REG_SZ or REG_EXPAND_SZ; the terminating NUL is counted in the size.
    virtual long SetStringValue(RegKey key, const std::string& name, const std::string& data,
                                unsigned long type) = 0;
    virtual long DeleteValue(RegKey key, const std::string& name) = 0;
    virtual void CloseKey(RegKey key) = 0;
};

// A key opened through a registry and closed when it goes out of scope; status() is 0 when
// it is open, else the status of the opening.
class ScopedKey {
public:
    ScopedKey(Registry& registry, RegistryRoot root, RegistryView view, const std::string& subKey, RegAccess access)
        : registry_(registry), status_(registry.OpenKey(root, view, subKey, access, key_)) {}
    ~ScopedKey()
    {
        if (status_ == kErrorSuccess)
            registry_.CloseKey(key_);
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    long status() const { return status_; }
    RegKey get() const { return key_; }

private:
    Registry& registry_;
    RegKey key_ = 0;
    long status_;
};

// The text of string data: everything before its terminating NULs.
std::string WithoutTerminators(const std::string& data);
std::u16string WithoutTerminators(const std::u16string& data);

// Longest ANSI value name the scan reads, in bytes, its NUL not counted.
constexpr std::size_t kValueNameLimit = 4095;

}  // namespace stlag

#endif
