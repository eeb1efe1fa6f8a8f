#include "scan_scope.h"

#include <string>

namespace stlag {

namespace {

const char kCurrentUser[] = "HKEY_CURRENT_USER";
const char kMachine[] = "HKEY_LOCAL_MACHINE";
const char kServices[] = "SYSTEM\\CurrentControlSet\\Services";

// Where a user's keys lie: rootName, then prefix before the sub-key.
struct UserRoot {
    std::string rootName;
    std::string prefix;
};

bool SubKeyNames(Registry& registry, const ScanSection& parent, std::vector<std::string>& names)
{
    RegKey key = 0;
    if (registry.OpenKey(RootFromName(parent.rootName), parent.view, parent.subKey, RegAccess::Read, key) !=
        kErrorSuccess)
        return false;
    std::string name;
    for (unsigned long index = 0; registry.EnumSubKey(key, index, name) == kErrorSuccess; ++index)
        names.push_back(name);
    registry.CloseKey(key);
    return true;
}

bool IsClassesHive(const std::string& name, const LowerCaser& lower)
{
    const std::string suffix = "_classes";
    return name.size() >= suffix.size() && lower(name.substr(name.size() - suffix.size())) == suffix;
}

// .DEFAULT is left out: it is S-1-5-18, the system account, again.
std::vector<UserRoot> UserRoots(Registry& registry, bool allUsers, const LowerCaser& lower)
{
    std::vector<std::string> names;
    if (allUsers)
        SubKeyNames(registry, {"HKEY_USERS", "", RegistryView::Native, CheckRule::Run, {}}, names);
    std::vector<UserRoot> users;
    for (const std::string& name : names) {
        if (name.compare(0, 4, "S-1-") == 0 && !IsClassesHive(name, lower))
            users.push_back({"HKEY_USERS", name + "\\"});
    }
    if (users.empty())
        users.push_back({kCurrentUser, ""});
    return users;
}

ScanSection InUser(ScanSection section, const UserRoot& user)
{
    section.rootName = user.rootName;
    section.subKey = user.prefix + section.subKey;
    return section;
}

void AddRunSections(const std::vector<UserRoot>& users, std::vector<ScanSection>& sections)
{
    const std::vector<ScanSection> run = RunSections();
    for (const UserRoot& user : users) {
        for (const ScanSection& section : run) {
            if (section.rootName == kCurrentUser)
                sections.push_back(InUser(section, user));
        }
    }
    for (const ScanSection& section : run) {
        if (section.rootName != kCurrentUser)
            sections.push_back(section);
    }
}

void AddEachSubKey(Registry& registry, const ScanSection& parent, std::vector<ScanSection>& sections)
{
    std::vector<std::string> names;
    if (!SubKeyNames(registry, parent, names))
        sections.push_back(parent);
    for (const std::string& name : names) {
        sections.push_back(parent);
        sections.back().subKey += "\\" + name;
    }
}

void AddUninstallSections(Registry& registry, const std::vector<UserRoot>& users, std::vector<ScanSection>& sections)
{
    const ScanSection machine{kMachine, RunSubKey("Uninstall"), RegistryView::Native, CheckRule::Path,
                              {"UninstallString", "QuietUninstallString"}};
    AddEachSubKey(registry, machine, sections);
    ScanSection machine32 = machine;
    machine32.view = RegistryView::Wow64;
    AddEachSubKey(registry, machine32, sections);
    ScanSection user = machine;
    user.rootName = kCurrentUser;
    for (const UserRoot& root : users)
        AddEachSubKey(registry, InUser(user, root), sections);
}

}  // namespace

std::vector<ScanSection> ScopeSections(Registry& registry, ScanScope scope, bool allUsers, const LowerCaser& lower)
{
    const std::vector<UserRoot> users = UserRoots(registry, allUsers, lower);
    std::vector<ScanSection> sections;
    if (scope == ScanScope::Run || scope == ScanScope::All)
        AddRunSections(users, sections);
    if (scope == ScanScope::Services || scope == ScanScope::All)
        AddEachSubKey(registry, {kMachine, kServices, RegistryView::Native, CheckRule::Path, {"ImagePath"}}, sections);
    if (scope == ScanScope::Uninstall || scope == ScanScope::All)
        AddUninstallSections(registry, users, sections);
    return sections;
}

}  // namespace stlag
