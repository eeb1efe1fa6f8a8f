#include "registry.h"

namespace stlag {

const char kRunKeyBase[] = "Software\\Microsoft\\Windows\\CurrentVersion\\";

RegistryRoot RootFromName(const std::string& rootName)
{
    if (rootName == "HKEY_CURRENT_USER")
        return RegistryRoot::CurrentUser;
    return rootName == "HKEY_USERS" ? RegistryRoot::Users : RegistryRoot::LocalMachine;
}

std::string RunSubKey(const std::string& keyName)
{
    return kRunKeyBase + keyName;
}

std::string KeyFullPath(const std::string& rootName, const std::string& subKey, RegistryView view)
{
    // The 32-bit view is where the system redirects it; regedit /S needs the real key.
    const std::string software = "Software\\";
    if (view == RegistryView::Wow64 && subKey.compare(0, software.size(), software) == 0)
        return rootName + "\\" + software + "WOW6432Node\\" + subKey.substr(software.size());
    return rootName + "\\" + subKey;
}

std::string WithoutTerminators(const std::string& data)
{
    const std::size_t end = data.find_last_not_of('\0');
    return end == std::string::npos ? std::string() : data.substr(0, end + 1);
}

}  // namespace stlag
