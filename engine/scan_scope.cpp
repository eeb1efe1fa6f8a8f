#include "scan_scope.h"

#include <string>

namespace stlag {

namespace {

const char kServices[] = "SYSTEM\\CurrentControlSet\\Services";
const char kWinlogon[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const char kActiveSetup[] = "Software\\Microsoft\\Active Setup\\Installed Components";

// Where a user's keys lie: root, then prefix before the sub-key, and whose hive it is.
struct UserRoot {
    RegistryRoot root;
    std::string prefix;
    LineOwner owner;
};

ScanSection Below(const ScanSection& parent, const std::string& name)
{
    ScanSection child = parent;
    child.subKey = parent.subKey.empty() ? name : parent.subKey + "\\" + name;
    return child;
}

// The sub-keys of parent as sections below it. A parent that cannot be opened comes back
// alone, and a listing that ended with an error first, flagged, so that the scan reports
// them; a name outside the code page is flagged rather than opened by a stand-in.
std::vector<ScanSection> ChildSections(Registry& registry, const ScanSection& parent)
{
    const ScopedKey key(registry, parent.root, parent.view, parent.subKey, RegAccess::Read);
    if (key.status() != kErrorSuccess)
        return {parent};
    std::vector<ScanSection> children;
    std::string name;
    std::u16string trueName;
    long status = kErrorSuccess;
    for (unsigned long index = 0; (status = registry.EnumSubKey(key.get(), index, name, trueName)) == kErrorSuccess;
         ++index) {
        children.push_back(Below(parent, name));
        children.back().trueName = trueName;
        // Opened by the part before its NUL, another key would be read in its place.
        children.back().listError = name.find('\0') != std::string::npos ? kErrorInvalidName
                                    : trueName.empty()                    ? kErrorSuccess
                                                                          : kErrorNoUnicodeTranslation;
    }
    if (status != kErrorNoMoreItems) {
        children.insert(children.begin(), parent);
        children.front().listError = status;
    }
    return children;
}

bool IsClassesHive(const std::string& name, const LowerCaser& lower)
{
    const std::string suffix = "_classes";
    return name.size() >= suffix.size() && lower(name.substr(name.size() - suffix.size())) == suffix;
}

// The process's own hive by its SID, so that a backup names the hive it came from whoever
// imports it; HKEY_CURRENT_USER when that hive cannot be opened by its SID.
UserRoot OwnRoot(Registry& registry, const UserScope& users)
{
    const ScopedKey own(registry, RegistryRoot::Users, RegistryView::Native, users.ownSid, RegAccess::Read);
    if (users.ownSid.empty() || own.status() != kErrorSuccess)
        return {RegistryRoot::CurrentUser, "", LineOwner::Process};
    return {RegistryRoot::Users, users.ownSid + "\\", LineOwner::Process};
}

// The loaded users' hives, by SID; .DEFAULT is left out, being S-1-5-18, the system account,
// again. What kept HKEY_USERS from being listed goes to problems.
std::vector<UserRoot> UserRoots(Registry& registry, const UserScope& users, const LowerCaser& lower,
                                std::vector<ScanSection>& problems)
{
    std::vector<UserRoot> roots;
    if (users.allUsers) {
        for (const ScanSection& hive : ChildSections(registry, {RegistryRoot::Users, "", RegistryView::Native, CheckRule::Run, {}})) {
            const std::string& name = hive.subKey;
            const bool own = lower(name) == lower(users.ownSid);
            if (hive.listError != kErrorSuccess || name.empty())
                problems.push_back(hive);
            else if (name.compare(0, 4, "S-1-") == 0 && !IsClassesHive(name, lower))
                roots.push_back({RegistryRoot::Users, name + "\\", own ? LineOwner::Process : LineOwner::OtherAccount});
        }
    }
    if (roots.empty())
        roots.push_back(OwnRoot(registry, users));
    return roots;
}

ScanSection InUser(ScanSection section, const UserRoot& user)
{
    section.root = user.root;
    section.subKey = user.prefix + section.subKey;
    section.owner = user.owner;
    return section;
}

// Each user's sections in the place of the current user's, in the order of RunSections.
void AddRunSections(const std::vector<UserRoot>& users, std::vector<ScanSection>& sections)
{
    for (const ScanSection& section : RunSections()) {
        if (section.root != RegistryRoot::CurrentUser) {
            sections.push_back(section);
            continue;
        }
        for (const UserRoot& user : users)
            sections.push_back(InUser(section, user));
    }
}

void AddEachSubKey(Registry& registry, const ScanSection& parent, std::vector<ScanSection>& sections)
{
    const std::vector<ScanSection> children = ChildSections(registry, parent);
    sections.insert(sections.end(), children.begin(), children.end());
}

void AddUninstallSections(Registry& registry, const std::vector<UserRoot>& users, std::vector<ScanSection>& sections)
{
    const ScanSection machine{RegistryRoot::LocalMachine, RunSubKey("Uninstall"), RegistryView::Native,
                              CheckRule::Path, {"UninstallString", "QuietUninstallString"}};
    AddEachSubKey(registry, machine, sections);
    ScanSection machine32 = machine;
    machine32.view = RegistryView::Wow64;
    AddEachSubKey(registry, machine32, sections);
    ScanSection user = machine;
    user.root = RegistryRoot::CurrentUser;
    for (const UserRoot& root : users)
        AddEachSubKey(registry, InUser(user, root), sections);
}

// Winlogon's Shell of the machine and of each user, and its Userinit, which only the machine
// has; then Active Setup's StubPath of every component, in both of the machine's views.
void AddLogonSections(Registry& registry, const std::vector<UserRoot>& users, std::vector<ScanSection>& sections)
{
    const ScanSection machine{RegistryRoot::LocalMachine, kWinlogon, RegistryView::Native, CheckRule::Winlogon,
                              {"Shell", "Userinit"}};
    sections.push_back(machine);
    for (const UserRoot& user : users)
        sections.push_back(InUser({RegistryRoot::CurrentUser, kWinlogon, RegistryView::Native, CheckRule::Path,
                                   {"Shell"}}, user));
    for (const RegistryView view : {RegistryView::Native, RegistryView::Wow64})
        AddEachSubKey(registry, {RegistryRoot::LocalMachine, kActiveSetup, view, CheckRule::Path, {"StubPath"}},
                      sections);
}

}  // namespace

std::vector<ScanSection> ScopeSections(Registry& registry, ScanScope scope, const UserScope& userScope,
                                       const LowerCaser& lower)
{
    std::vector<ScanSection> sections;
    const std::vector<UserRoot> users = UserRoots(registry, userScope, lower, sections);
    if (scope == ScanScope::Run || scope == ScanScope::All)
        AddRunSections(users, sections);
    if (scope == ScanScope::Services || scope == ScanScope::All)
        AddEachSubKey(registry, {RegistryRoot::LocalMachine, kServices, RegistryView::Native, CheckRule::Path, {"ImagePath"}},
                      sections);
    if (scope == ScanScope::Uninstall || scope == ScanScope::All)
        AddUninstallSections(registry, users, sections);
    if (scope == ScanScope::Logon || scope == ScanScope::All)
        AddLogonSections(registry, users, sections);
    return sections;
}

}  // namespace stlag
