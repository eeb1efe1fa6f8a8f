#include "registry.h"

namespace stlag {

const char kRunKeyBase[] = "Software\\Microsoft\\Windows\\CurrentVersion\\";

RegistryRoot RootFromName(const std::string& rootName)
{
    return rootName == "HKEY_CURRENT_USER" ? RegistryRoot::CurrentUser : RegistryRoot::LocalMachine;
}

std::string RunSubKey(const std::string& keyName)
{
    return kRunKeyBase + keyName;
}

std::string RunKeyFullPath(const std::string& rootName, const std::string& keyName)
{
    return rootName + "\\" + RunSubKey(keyName);
}

}  // namespace stlag
