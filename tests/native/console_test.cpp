// stlagc's command line as technicians and scripts mistype it.
#include <gtest/gtest.h>

#include "console_options.h"
#include "fakes.h"
#include "resource.h"

using namespace stlag;

// Refused with this message, naming this argument.
TEST(ReadArguments, Refusals)
{
    const struct { std::vector<std::string> arguments; unsigned message; std::string argument; } refused[] = {
        {{"/?", "/json"}, IDS_CONSOLE_BAD_ARGUMENT, "/?"},
        {{"/scope:disk"}, IDS_CONSOLE_BAD_SCOPE, "/scope:disk"},
        {{"/scope"}, IDS_CONSOLE_BAD_ARGUMENT, "/scope"},
        {{"/json", "-JSON"}, IDS_CONSOLE_BAD_ARGUMENT, "-JSON"},
        {{"/repair", "/allusers"}, IDS_CONSOLE_NO_BACKUP_FILE, ""},
        {{"/repair", "b.reg", "b2.reg"}, IDS_CONSOLE_BAD_ARGUMENT, "b2.reg"},
    };
    const FakeCodePage codePage;
    for (const auto& c : refused) {
        const ConsoleOptions o = ReadArguments(c.arguments, LowerCaser(codePage));
        EXPECT_TRUE(o.action == ConsoleOptions::Action::Refuse && o.messageId == c.message && o.argument == c.argument)
            << c.argument;
    }
    const ConsoleOptions all = ReadArguments({"-JSON", "/AllUsers", "/scope:Uninstall"}, LowerCaser(codePage));
    EXPECT_TRUE(all.action == ConsoleOptions::Action::Scan && all.json && all.allUsers && all.scope == ScanScope::Uninstall);
}
