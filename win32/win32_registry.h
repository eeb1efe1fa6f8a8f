// The engine's registry on the real one, through the ANSI functions (and the wide query
// that tells whether the ANSI text is faithful).
#ifndef STLAG_WIN32_REGISTRY_H
#define STLAG_WIN32_REGISTRY_H

#include <vector>

#include "registry.h"

namespace stlag {

class Win32Registry : public Registry {
public:
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
    std::vector<char> nameBuffer_;  // kept between calls: a scan enumerates thousands of names
};

}  // namespace stlag

#endif
