#include "console_options.h"

#include <algorithm>
#include <set>

#include "resource.h"

namespace stlag {

namespace {

// "repair", "allusers", "json" or "scope" for one of stlagc's switches; empty otherwise.
std::string SwitchName(const std::string& lowered)
{
    if (lowered.empty() || (lowered[0] != '/' && lowered[0] != '-'))
        return std::string();
    std::string name = lowered.substr(1);
    if (name == "repair" || name == "allusers" || name == "json")
        return name;
    return name.compare(0, 6, "scope:") == 0 ? "scope" : std::string();
}

bool ReadScope(const std::string& lowered, ScanScope& scope)
{
    static const std::pair<const char*, ScanScope> kScopes[] = {
        {"run", ScanScope::Run}, {"services", ScanScope::Services},
        {"uninstall", ScanScope::Uninstall}, {"logon", ScanScope::Logon}, {"all", ScanScope::All}};
    const std::string name = lowered.substr(lowered.find(':') + 1);
    for (const auto& known : kScopes) {
        if (name == known.first) {
            scope = known.second;
            return true;
        }
    }
    return false;
}

ConsoleOptions Refused(unsigned messageId, const std::string& argument)
{
    ConsoleOptions options;
    options.action = ConsoleOptions::Action::Refuse;
    options.messageId = messageId;
    options.argument = argument;
    return options;
}

bool AsksForUsage(const std::vector<std::string>& arguments)
{
    static const char* const kHelp[] = {"/?", "-?", "/h", "--help"};
    return arguments.size() == 1 && std::find(std::begin(kHelp), std::end(kHelp), arguments[0]) != std::end(kHelp);
}

}  // namespace

ConsoleOptions ReadArguments(const std::vector<std::string>& arguments, const LowerCaser& lower)
{
    ConsoleOptions options;
    if (AsksForUsage(arguments)) {
        options.action = ConsoleOptions::Action::Usage;
        return options;
    }
    std::set<std::string> seen;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string lowered = lower(arguments[i]);
        const std::string name = SwitchName(lowered);
        if (name.empty() || !seen.insert(name).second)
            return Refused(IDS_CONSOLE_BAD_ARGUMENT, arguments[i]);
        if (name == "scope" && !ReadScope(lowered, options.scope))
            return Refused(IDS_CONSOLE_BAD_SCOPE, arguments[i]);
        options.allUsers = options.allUsers || name == "allusers";
        options.json = options.json || name == "json";
        if (name != "repair")
            continue;
        // A switch in FILE's place was surely meant as a switch, not as a file named "/json".
        if (i + 1 == arguments.size() || arguments[i + 1].empty() || !SwitchName(lower(arguments[i + 1])).empty())
            return Refused(IDS_CONSOLE_NO_BACKUP_FILE, std::string());
        options.action = ConsoleOptions::Action::Repair;
        options.backupPath = arguments[++i];
    }
    return options;
}

}  // namespace stlag
