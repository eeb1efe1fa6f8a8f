#include "run_entry_fix.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace stlag {
namespace {

RunEntryFixList ListOf(const std::vector<std::string>& names)
{
    RunEntryFixList list;
    for (const std::string& name : names)
        list.Append(RunEntryFix{name, "old", "", "Run", "HKEY_CURRENT_USER"});
    return list;
}

std::vector<std::string> Names(const RunEntryFixList& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i)
        names.push_back(list.At(i).valueName);
    return names;
}

TEST(RunEntryFixList, ErasingKeepsTheOrderOfTheRest)
{
    RunEntryFixList list = ListOf({"a", "b", "c", "d"});
    list.EraseAt(3);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), Names(list));
    list.EraseAt(0);
    EXPECT_EQ((std::vector<std::string>{"b", "c"}), Names(list));
    RunEntryFixList only = ListOf({"x"});
    only.EraseAt(0);
    EXPECT_EQ(0, only.Count());
    EXPECT_EQ(0, RunEntryFixList().Count());
}

TEST(RunEntryFixList, EraseFlaggedIsTheSameAsErasingEachFromTheBack)
{
    const std::vector<bool> flags = {true, false, true, true, false, true};
    RunEntryFixList oneByOne = ListOf({"0", "1", "2", "3", "4", "5"});
    for (int i = 5; i >= 0; --i)
        if (flags[static_cast<std::size_t>(i)])
            oneByOne.EraseAt(i);
    RunEntryFixList onePass = ListOf({"0", "1", "2", "3", "4", "5"});
    onePass.EraseFlagged(flags);
    EXPECT_EQ(Names(oneByOne), Names(onePass));
    EXPECT_EQ((std::vector<std::string>{"1", "4"}), Names(onePass));
}

}  // namespace
}  // namespace stlag
