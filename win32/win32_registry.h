// The engine's registry on the real one: each value read with one RegEnumValueW call and
// converted to the ANSI code page once; keys opened and values changed through the wide
// functions, the ANSI text converted back as the ANSI functions would.
#ifndef STLAG_WIN32_REGISTRY_H
#define STLAG_WIN32_REGISTRY_H

#include <functional>
#include <vector>

#include "registry.h"

namespace stlag {

class Win32Registry : public Registry {
public:
    long OpenKey(RegistryRoot root, RegistryView view, const std::string& subKey, RegAccess access,
                 RegKey& key) override;
    long ReadValue(RegKey key, unsigned long index, RegValue& value) override;
    long ReadNamedValue(RegKey key, const std::string& name, RegValue& value) override;
    long EnumSubKey(RegKey key, unsigned long index, std::string& name, std::u16string& trueName) override;
    long SetStringValue(RegKey key, const std::string& name, const std::string& data, unsigned long type) override;
    long DeleteValue(RegKey key, const std::string& name) override;
    void CloseKey(RegKey key) override;

private:
    long Convert(unsigned long type, unsigned long dataSize, RegValue& value) const;
    long ReadGrowing(unsigned long& size, const std::function<long(unsigned char*, unsigned long&)>& read);

    // Kept between calls: a scan reads thousands of values.
    std::vector<wchar_t> name_ = std::vector<wchar_t>(16384);
    std::vector<unsigned char> data_ = std::vector<unsigned char>(2048);
};

// The SID this process runs as, in its text form ("S-1-5-18" for the system account);
// empty when the token cannot be read.
std::string ProcessUserSid();

}  // namespace stlag

#endif
