#include "scan_scope.h"

#include <algorithm>
#include <string>

namespace stlag {

namespace {

const char kServices[] = "SYSTEM\\CurrentControlSet\\Services";
const char kWinlogon[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const char kActiveSetup[] = "Software\\Microsoft\\Active Setup\\Installed Components";
// The values each kind of sub-key has judged; the Run keys have every value judged.
const std::vector<std::string> kUninstallValues = {"UninstallString", "QuietUninstallString"};
const std::vector<std::string> kServiceValues = {"ImagePath"}, kStubValues = {"StubPath"};
const std::vector<std::string> kShellValues = {"Shell"};

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
                              CheckRule::Path, kUninstallValues};
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
                                   kShellValues}, user));
    for (const RegistryView view : {RegistryView::Native, RegistryView::Wow64})
        AddEachSubKey(registry, {RegistryRoot::LocalMachine, kActiveSetup, view, CheckRule::Path, kStubValues},
                      sections);
}


// A key path's root, view and sub-key, as KeyFullPath writes them; false for another form.
bool ReadKeyPath(const std::string& keyPath, const LowerCaser& lower, ScanSection& place)
{
    const std::string lowered = lower(keyPath);
    for (const RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine, RegistryRoot::Users}) {
        const std::string name = lower(RootName(root)) + "\\";
        if (lowered.compare(0, name.size(), name) != 0)
            continue;
        place.root = root;
        place.subKey = keyPath.substr(name.size());
        const std::string wow = "software\\wow6432node\\";
        if (root == RegistryRoot::LocalMachine && lowered.compare(name.size(), wow.size(), wow) == 0) {
            place.view = RegistryView::Wow64;
            place.subKey = "Software\\" + keyPath.substr(name.size() + wow.size());
        }
        return true;
    }
    return false;
}

bool Same(const std::string& a, const std::string& b, const LowerCaser& lower)
{
    return lower(a) == lower(b);
}

// Whether subKey is a sub-key of parent's own, not one further down.
bool DirectlyBelow(const std::string& subKey, const std::string& parent, const LowerCaser& lower)
{
    const std::string prefix = lower(parent) + "\\";
    return subKey.size() > prefix.size() && lower(subKey).compare(0, prefix.size(), prefix) == 0 &&
           subKey.find('\\', prefix.size()) == std::string::npos;
}

// A user's key, rest being its path below the hive: the Run keys, an uninstall entry, Winlogon.
bool JudgesUserKey(const std::string& rest, const LowerCaser& lower, ScanSection& section)
{
    for (const ScanSection& run : RunSections()) {
        if (run.root == RegistryRoot::CurrentUser && Same(rest, run.subKey, lower)) {
            section.rule = CheckRule::Run;
            return true;
        }
    }
    section.rule = CheckRule::Path;
    section.valueNames = DirectlyBelow(rest, RunSubKey("Uninstall"), lower) ? kUninstallValues
                         : Same(rest, kWinlogon, lower)                       ? kShellValues
                                                                             : std::vector<std::string>();
    return !section.valueNames.empty();
}

// The machine's keys; Winlogon's Userinit is never changed, so only its Shell counts.
bool JudgesMachineKey(const ScanSection& place, const LowerCaser& lower, ScanSection& section)
{
    for (const ScanSection& run : RunSections()) {
        if (run.root == RegistryRoot::LocalMachine && run.view == place.view && Same(place.subKey, run.subKey, lower)) {
            section.rule = CheckRule::Run;
            return true;
        }
    }
    const bool native = place.view == RegistryView::Native;
    section.rule = native && Same(place.subKey, kWinlogon, lower) ? CheckRule::Winlogon : CheckRule::Path;
    section.valueNames = native && DirectlyBelow(place.subKey, kServices, lower)       ? kServiceValues
                         : DirectlyBelow(place.subKey, RunSubKey("Uninstall"), lower) ? kUninstallValues
                         : section.rule == CheckRule::Winlogon                         ? kShellValues
                         : DirectlyBelow(place.subKey, kActiveSetup, lower)           ? kStubValues
                                                                                       : std::vector<std::string>();
    return !section.valueNames.empty();
}

// A hive under HKEY_USERS by a user's SID, its _Classes hive aside: whose it is, and the
// path below it.
bool ReadUserHive(const ScanSection& place, const std::string& ownSid, const LowerCaser& lower, std::string& rest,
                  LineOwner& owner)
{
    if (place.root == RegistryRoot::CurrentUser) {
        rest = place.subKey;
        owner = LineOwner::Process;
        return true;
    }
    const std::size_t split = place.subKey.find('\\');
    const std::string hive = place.subKey.substr(0, split);
    if (split == std::string::npos || hive.compare(0, 4, "S-1-") != 0 || IsClassesHive(hive, lower))
        return false;
    rest = place.subKey.substr(split + 1);
    owner = Same(hive, ownSid, lower) ? LineOwner::Process : LineOwner::OtherAccount;
    return true;
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
        AddEachSubKey(registry, {RegistryRoot::LocalMachine, kServices, RegistryView::Native, CheckRule::Path, kServiceValues},
                      sections);
    if (scope == ScanScope::Uninstall || scope == ScanScope::All)
        AddUninstallSections(registry, users, sections);
    if (scope == ScanScope::Logon || scope == ScanScope::All)
        AddLogonSections(registry, users, sections);
    return sections;
}

std::optional<ScanSection> ChangeableSection(const std::string& keyPath, const std::string& valueName,
                                             const std::string& ownSid, const LowerCaser& lower)
{
    ScanSection section;
    if (!ReadKeyPath(keyPath, lower, section))
        return std::nullopt;
    std::string rest;
    const bool judged = section.root == RegistryRoot::LocalMachine
                            ? JudgesMachineKey(section, lower, section)
                            : section.view == RegistryView::Native &&
                                  ReadUserHive(section, ownSid, lower, rest, section.owner) &&
                                  JudgesUserKey(rest, lower, section);
    const bool named = section.valueNames.empty() ||
                       std::any_of(section.valueNames.begin(), section.valueNames.end(),
                                   [&](const std::string& name) { return Same(name, valueName, lower); });
    if (!judged || !named)
        return std::nullopt;
    return section;
}

}  // namespace stlag
