// An in-memory registry for tests: keys and values in insertion order, names compared
// without regard to ASCII case as the system does, and the system's status codes.
#ifndef STLAG_MEMORY_REGISTRY_H
#define STLAG_MEMORY_REGISTRY_H

#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "registry.h"

namespace stlag {

struct MemoryValue {
    std::string name;
    unsigned long type = kRegSz;
    std::string data;          // the bytes as the ANSI functions return them, NUL included when stored so
    std::u16string wideData;   // what the wide functions return; empty means data read as Latin-1
    bool hasWideData = false;
};

class MemoryRegistry : public Registry {
public:
    // Adds the key if needed and sets a REG_SZ value; the data is stored with its NUL.
    void SetString(RegistryRoot root, const std::string& subKey, const std::string& name, const std::string& data);
    void SetValue(RegistryRoot root, const std::string& subKey, const MemoryValue& value);
    void CreateKey(RegistryRoot root, const std::string& subKey);
    void RemoveValue(RegistryRoot root, const std::string& subKey, const std::string& name);
    void DenyAccess(RegistryRoot root, const std::string& subKey, RegAccess access);

    // Null when the key or value does not exist.
    const MemoryValue* Find(RegistryRoot root, const std::string& subKey, const std::string& name) const;
    std::vector<MemoryValue> Values(RegistryRoot root, const std::string& subKey) const;
    int OpenKeyCount() const { return static_cast<int>(open_.size()); }

    // Runs before each data query of the named value: tests change the registry in between.
    std::function<void(const std::string& name, bool sizeQuery)> beforeQuery;
    // Status to answer instead of doing the change, 0 to do it.
    long setFailure = 0;
    long deleteFailure = 0;

    long OpenKey(RegistryRoot root, const std::string& subKey, RegAccess access, RegKey& key) override;
    long EnumValue(RegKey key, unsigned long index, std::size_t nameCapacity, std::string& name,
                   unsigned long& type) override;
    long QueryValue(RegKey key, const std::string& name, unsigned long& type, char* data,
                    unsigned long& size) override;
    long QueryValueWide(RegKey key, const std::string& name, std::u16string& data) override;
    long SetStringValue(RegKey key, const std::string& name, const std::string& data) override;
    long DeleteValue(RegKey key, const std::string& name) override;
    void CloseKey(RegKey key) override;

private:
    struct Key {
        std::vector<MemoryValue> values;
        std::unordered_map<std::string, std::size_t> index;  // folded name -> position in values
        bool denyRead = false;
        bool denyWrite = false;
    };
    static std::string Fold(RegistryRoot root, const std::string& subKey);
    Key* KeyOf(RegKey handle);
    static const MemoryValue* ValueOf(const Key& key, const std::string& name);
    static MemoryValue* ValueOf(Key& key, const std::string& name);
    static void Put(Key& key, const MemoryValue& value);
    static bool Erase(Key& key, const std::string& name);

    std::map<std::string, Key> keys_;
    std::map<RegKey, std::string> open_;
    RegKey nextHandle_ = 0x100;
};

}  // namespace stlag

#endif
