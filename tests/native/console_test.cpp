// stlagc's command line as technicians and scripts mistype it.
#include <gtest/gtest.h>

#include "console_options.h"
#include "fakes.h"
#include "resource.h"

using namespace stlag;

// Refused with this text, which shows this argument.
TEST(ReadArguments, Refusals)
{
    using Action = ConsoleOptions::Action;
    const struct { std::vector<std::string> arguments; unsigned text; std::string shown; } refused[] = {
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
        EXPECT_TRUE(o.action == Action::Refuse && o.messageId == c.text && o.argument == c.shown) << c.shown;
    }
    const ConsoleOptions all = ReadArguments({"-JSON", "/AllUsers", "/scope:Uninstall"}, LowerCaser(codePage));
    EXPECT_TRUE(all.action == Action::Scan && all.json && all.allUsers && all.scope == ScanScope::Uninstall);
}
