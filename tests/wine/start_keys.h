// Seeding and clearing the seven start-up keys of the Wine prefix's real registry.
#ifndef STLAG_START_KEYS_H
#define STLAG_START_KEYS_H

#include <windows.h>

#include <string>

#include "run_key_scanner.h"

namespace stlag {

inline HKEY RootHandle(const char* rootName)
{
    return RootFromName(rootName) == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// Removes the seven keys so each test starts from a known registry. RunOnce\Setup goes
// first, being a sub-key of RunOnce.
inline void DeleteStartKeys()
{
    for (int i = 6; i >= 0; --i)
        RegDeleteTreeA(RootHandle(kRunKeyPaths[i].rootName), RunSubKey(kRunKeyPaths[i].keyName).c_str());
}

inline void SetValue(HKEY root, const std::string& keyName, const std::string& name, DWORD type,
                     const std::string& bytes)
{
    HKEY key = nullptr;
    RegCreateKeyExA(root, RunSubKey(keyName).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

inline void SetString(HKEY root, const std::string& keyName, const std::string& name, const std::string& data)
{
    SetValue(root, keyName, name, REG_SZ, data + '\0');
}

inline void SetWideString(HKEY root, const std::string& keyName, const std::wstring& name, const std::wstring& data)
{
    HKEY key = nullptr;
    RegCreateKeyExA(root, RunSubKey(keyName).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

// A small file at path, with its folders.
inline bool CreateFileWithFolders(const std::string& path)
{
    for (std::size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1))
        CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

}  // namespace stlag

#endif
