#include "console_options.h"

#include <algorithm>

#include "resource.h"

namespace stlag {

namespace {

// "repair", "allusers", "json" or "scope" for one of stlagc's switches; empty otherwise.
std::string SwitchName(const std::string& lowered)
{
    if (lowered.empty() || (lowered[0] != '/' && lowered[0] != '-'))
        return std::string();
    std::string name = lowered.substr(1);
    if (name == "repair" || name == "undo" || name == "allusers" || name == "json")
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

bool AsksForUsage(const std::vector<std::string>& arguments, const LowerCaser& lower)
{
    static const char* const kHelp[] = {"/?", "-?", "/h", "-h", "--help"};
    return arguments.size() == 1 &&
           std::find(std::begin(kHelp), std::end(kHelp), lower(arguments[0])) != std::end(kHelp);
}

// /repair's or /undo's FILE, which must follow it: a switch in its place was surely meant as
// a switch, not as a file named "/json".
bool TakeFile(const std::vector<std::string>& arguments, std::size_t& i, const LowerCaser& lower, std::string& file)
{
    if (i + 1 == arguments.size() || arguments[i + 1].empty() || !SwitchName(lower(arguments[i + 1])).empty() ||
        AsksForUsage({arguments[i + 1]}, lower))
        return false;
    file = arguments[++i];
    return true;
}

// /undo takes a repair back whatever was scanned: a scope or a repair beside it would be ignored.
ConsoleOptions Settled(const ConsoleOptions& options, const std::vector<std::string>& switches)
{
    if (std::find(switches.begin(), switches.end(), "undo") == switches.end())
        return options;
    for (const std::string& given : switches) {
        if (given != "undo" && given != "json")
            return Refused(IDS_CONSOLE_UNDO_ALONE, "/" + given);
    }
    return options;
}

}  // namespace

ConsoleOptions ReadArguments(const std::vector<std::string>& arguments, const LowerCaser& lower)
{
    ConsoleOptions options;
    if (AsksForUsage(arguments, lower)) {
        options.action = ConsoleOptions::Action::Usage;
        return options;
    }
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string lowered = lower(arguments[i]);
        const std::string name = SwitchName(lowered);
        if (name.empty())
            return Refused(IDS_CONSOLE_BAD_ARGUMENT, arguments[i]);
        if (std::find(seen.begin(), seen.end(), name) != seen.end())
            return Refused(IDS_CONSOLE_TWICE, arguments[i]);
        seen.push_back(name);
        if (name == "scope" && !ReadScope(lowered, options.scope))
            return Refused(IDS_CONSOLE_BAD_SCOPE, arguments[i]);
        options.allUsers = options.allUsers || name == "allusers";
        options.json = options.json || name == "json";
        if (name != "repair" && name != "undo")
            continue;
        if (!TakeFile(arguments, i, lower, options.backupPath))
            return Refused(name == "undo" ? IDS_CONSOLE_NO_UNDO_FILE : IDS_CONSOLE_NO_BACKUP_FILE, std::string());
        options.action = name == "undo" ? ConsoleOptions::Action::Undo : ConsoleOptions::Action::Repair;
    }
    return Settled(options, seen);
}

}  // namespace stlag
