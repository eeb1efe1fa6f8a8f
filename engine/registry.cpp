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

std::string RunKeyFullPath(const std::string& rootName, const std::string& keyName, RegistryView view)
{
    const std::string base = view == RegistryView::Wow64 ? "Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\"
                                                         : kRunKeyBase;
    return rootName + "\\" + base + keyName;
}

std::string WithoutTerminators(const std::string& data)
{
    const std::size_t end = data.find_last_not_of('\0');
    return end == std::string::npos ? std::string() : data.substr(0, end + 1);
}

}  // namespace stlag
