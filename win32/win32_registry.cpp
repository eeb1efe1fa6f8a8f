#include "win32_registry.h"

#include <windows.h>

#include <vector>

#include "win32_platform.h"

namespace stlag {

namespace {
HKEY ToHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

long Win32Registry::OpenKey(RegistryRoot root, const std::string& subKey, RegAccess access, RegKey& key)
{
    HKEY rootKey = root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    HKEY opened = nullptr;
    const long status = RegOpenKeyExA(rootKey, subKey.c_str(), 0, access == RegAccess::Read ? KEY_READ : KEY_WRITE,
                                      &opened);
    if (status == ERROR_SUCCESS)
        key = reinterpret_cast<RegKey>(opened);
    return status;
}

long Win32Registry::EnumValue(RegKey key, unsigned long index, std::size_t nameCapacity, std::string& name,
                              unsigned long& type)
{
    if (nameBuffer_.size() < nameCapacity)
        nameBuffer_.resize(nameCapacity);
    char* buffer = nameBuffer_.data();
    DWORD length = static_cast<DWORD>(nameCapacity);
    DWORD valueType = static_cast<DWORD>(type);
    const long status =
        RegEnumValueA(ToHkey(key), index, buffer, &length, nullptr, &valueType, nullptr, nullptr);
    if (status == ERROR_SUCCESS) {
        name.assign(buffer, length);
        type = valueType;
    }
    return status;
}

long Win32Registry::QueryValue(RegKey key, const std::string& name, unsigned long& type, char* data,
                               unsigned long& size)
{
    DWORD valueType = static_cast<DWORD>(type);
    DWORD valueSize = static_cast<DWORD>(size);
    const long status = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &valueType,
                                         reinterpret_cast<BYTE*>(data), &valueSize);
    type = valueType;
    size = valueSize;
    return status;
}

long Win32Registry::QueryValueWide(RegKey key, const std::string& name, std::u16string& data)
{
    const std::wstring wideName = AnsiToWide(name);
    // Start lists are short: one read into a fixed buffer usually does, saving a size query.
    std::vector<wchar_t> buffer(512, L'\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    long status = RegQueryValueExW(ToHkey(key), wideName.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (status == ERROR_MORE_DATA) {
        buffer.assign(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = RegQueryValueExW(ToHkey(key), wideName.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(buffer.data()), &size);
    }
    if (status != ERROR_SUCCESS)
        return status;
    data.clear();
    for (std::size_t i = 0; i < size / sizeof(wchar_t) && buffer[i] != L'\0'; ++i)
        data += static_cast<char16_t>(buffer[i]);
    return ERROR_SUCCESS;
}

long Win32Registry::SetStringValue(RegKey key, const std::string& name, const std::string& data)
{
    return RegSetValueExA(ToHkey(key), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size() + 1));
}

long Win32Registry::DeleteValue(RegKey key, const std::string& name)
{
    return RegDeleteValueA(ToHkey(key), name.c_str());
}

void Win32Registry::CloseKey(RegKey key)
{
    RegCloseKey(ToHkey(key));
}

}  // namespace stlag
