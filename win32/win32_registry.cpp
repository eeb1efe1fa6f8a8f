#include "win32_registry.h"

#include <windows.h>
#include <sddl.h>

#include "win32_platform.h"

namespace stlag {

namespace {
HKEY ToHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }

// A value that keeps growing as it is read is given up on after this many tries.
constexpr int kReadTries = 4;
}  // namespace

long Win32Registry::OpenKey(RegistryRoot root, RegistryView view, const std::string& subKey, RegAccess access,
                            RegKey& key)
{
    const HKEY rootKey = root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER
                         : root == RegistryRoot::Users     ? HKEY_USERS
                                                           : HKEY_LOCAL_MACHINE;
    // The repair reads each value again before it changes it.
    REGSAM rights = access == RegAccess::Read ? KEY_READ : KEY_QUERY_VALUE | KEY_SET_VALUE;
    if (view == RegistryView::Wow64)
        rights |= KEY_WOW64_32KEY;
    HKEY opened = nullptr;
    // Wine's ANSI call refuses a path longer than 260 characters, which a key name of 209 below
    // Uninstall makes: a key passed over is a key not seen.
    const long status = RegOpenKeyExW(rootKey, AnsiToWide(subKey).c_str(), 0, rights, &opened);
    if (status == ERROR_SUCCESS)
        key = reinterpret_cast<RegKey>(opened);
    return status;
}

long Win32Registry::ReadValue(RegKey key, unsigned long index, RegValue& value)
{
    DWORD nameLength = 0;
    DWORD type = 0;
    DWORD size = 0;
    long status = ReadGrowing(size, [&](BYTE* data, DWORD& dataSize) {
        nameLength = static_cast<DWORD>(name_.size());
        return RegEnumValueW(ToHkey(key), index, name_.data(), &nameLength, nullptr, &type, data, &dataSize);
    });
    value.dataRead = status != ERROR_MORE_DATA;
    if (!value.dataRead) {
        nameLength = static_cast<DWORD>(name_.size());
        status = RegEnumValueW(ToHkey(key), index, name_.data(), &nameLength, nullptr, &type, nullptr, nullptr);
        size = 0;
    }
    if (status != ERROR_SUCCESS)
        return status;
    value.name = WideToAnsi(name_.data(), nameLength, value.nameInCodePage);
    value.trueName = value.nameInCodePage ? std::u16string() : std::u16string(name_.begin(), name_.begin() + nameLength);
    if (value.name.size() > kValueNameLimit) {
        value = RegValue();
        return ERROR_MORE_DATA;
    }
    return Convert(type, size, value);
}

long Win32Registry::ReadNamedValue(RegKey key, const std::string& name, RegValue& value)
{
    const std::wstring wideName = AnsiToWide(name);
    DWORD type = 0;
    DWORD size = 0;
    const long status = ReadGrowing(size, [&](BYTE* data, DWORD& dataSize) {
        return RegQueryValueExW(ToHkey(key), wideName.c_str(), nullptr, &type, data, &dataSize);
    });
    value.dataRead = status != ERROR_MORE_DATA;
    if (status != ERROR_SUCCESS && value.dataRead)
        return status;
    value.name = name;
    value.nameInCodePage = true;
    return Convert(type, value.dataRead ? size : 0, value);
}

// Reads into data_, grown to the size the system asks for, until the data fits or a value
// that keeps growing is given up on; ERROR_MORE_DATA then.
long Win32Registry::ReadGrowing(unsigned long& size, const std::function<long(unsigned char*, unsigned long&)>& read)
{
    long status = ERROR_MORE_DATA;
    for (int tries = 0; tries < kReadTries && status == ERROR_MORE_DATA; ++tries) {
        size = static_cast<DWORD>(data_.size());
        status = read(data_.data(), size);
        if (status == ERROR_MORE_DATA)
            data_.resize(size + sizeof(wchar_t));
    }
    return status;
}

// The data of a text value in the ANSI code page, all of it, NULs included.
long Win32Registry::Convert(unsigned long type, unsigned long dataSize, RegValue& value) const
{
    value.type = type;
    value.data.clear();
    value.dataInCodePage = true;
    value.trueData.clear();
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        const auto* units = reinterpret_cast<const char16_t*>(data_.data());
        const std::size_t count = dataSize / sizeof(wchar_t);
        value.data = WideToAnsi(reinterpret_cast<const wchar_t*>(units), count, value.dataInCodePage);
        if (!value.dataInCodePage)
            value.trueData.assign(units, units + count);
    }
    return ERROR_SUCCESS;
}

long Win32Registry::EnumSubKey(RegKey key, unsigned long index, std::string& name, std::u16string& trueName)
{
    // A key name has at most 255 characters on Windows; Wine refused some shorter ones with
    // ERROR_MORE_DATA in a buffer of that size, and a key passed over is a key not seen.
    DWORD length = static_cast<DWORD>(name_.size());
    const long status = RegEnumKeyExW(ToHkey(key), index, name_.data(), &length, nullptr, nullptr, nullptr, nullptr);
    bool inCodePage = true;
    if (status == ERROR_SUCCESS)
        name = WideToAnsi(name_.data(), length, inCodePage);
    trueName = inCodePage ? std::u16string() : std::u16string(name_.begin(), name_.begin() + length);
    return status;
}

long Win32Registry::SetStringValue(RegKey key, const std::string& name, const std::string& data, unsigned long type)
{
    // Converted as the ANSI call would, back to the very text that was read (it was read only
    // when it went both ways); the wide call takes names and data of any length.
    const std::wstring wide = AnsiToWide(data);
    return RegSetValueExW(ToHkey(key), AnsiToWide(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(wide.c_str()),
                          static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

long Win32Registry::DeleteValue(RegKey key, const std::string& name)
{
    return RegDeleteValueW(ToHkey(key), AnsiToWide(name).c_str());
}

void Win32Registry::CloseKey(RegKey key)
{
    RegCloseKey(ToHkey(key));
}

std::string ProcessUserSid()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return std::string();
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> user(size == 0 ? 1 : size);
    char* text = nullptr;
    std::string sid;
    if (GetTokenInformation(token, TokenUser, user.data(), size, &size) &&
        ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &text)) {
        sid = text;
        LocalFree(text);
    }
    CloseHandle(token);
    return sid;
}

}  // namespace stlag
