#include "registry.h"

#include <utility>

namespace stlag {

const char kRunKeyBase[] = "Software\\Microsoft\\Windows\\CurrentVersion\\";

const char* RootName(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::CurrentUser: return "HKEY_CURRENT_USER";
    case RegistryRoot::Users: return "HKEY_USERS";
    default: return "HKEY_LOCAL_MACHINE";
    }
}

std::string RunSubKey(const std::string& keyName)
{
    return kRunKeyBase + keyName;
}

std::string KeyFullPath(RegistryRoot root, const std::string& subKey, RegistryView view)
{
    std::string rootName = RootName(root);
    if (subKey.empty())
        return rootName;
    // The 32-bit view is where the system redirects it; regedit /S needs the real key.
    const std::string software = "Software\\";
    if (view == RegistryView::Wow64 && subKey.compare(0, software.size(), software) == 0)
        return rootName + "\\" + software + "WOW6432Node\\" + subKey.substr(software.size());
    return rootName + "\\" + subKey;
}

bool HoldsControlCharacter(const std::string& text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20)
            return true;
    }
    return false;
}

std::string StatusName(long status)
{
    static const std::pair<long, const char*> kNames[] = {
        {2, "ERROR_FILE_NOT_FOUND"}, {3, "ERROR_PATH_NOT_FOUND"}, {5, "ERROR_ACCESS_DENIED"},
        {6, "ERROR_INVALID_HANDLE"}, {8, "ERROR_NOT_ENOUGH_MEMORY"}, {87, "ERROR_INVALID_PARAMETER"}, {123, "ERROR_INVALID_NAME"},
        {234, "ERROR_MORE_DATA"}, {1009, "ERROR_BADDB"}, {1010, "ERROR_BADKEY"}, {1011, "ERROR_CANTOPEN"},
        {1012, "ERROR_CANTREAD"}, {1015, "ERROR_REGISTRY_CORRUPT"}, {1018, "ERROR_KEY_DELETED"},
        {1113, "ERROR_NO_UNICODE_TRANSLATION"}};
    for (const auto& known : kNames) {
        if (known.first == status)
            return known.second;
    }
    return "status " + std::to_string(status);
}

std::string WithoutTerminators(const std::string& data)
{
    const std::size_t end = data.find_last_not_of('\0');
    return end == std::string::npos ? std::string() : data.substr(0, end + 1);
}

std::u16string WithoutTerminators(const std::u16string& data)
{
    const std::size_t end = data.find_last_not_of(u'\0');
    return end == std::u16string::npos ? std::u16string() : data.substr(0, end + 1);
}

}  // namespace stlag
