// The texts of the repair page's finding rows.
#include <gtest/gtest.h>

#include "finding_rows.h"
#include "rc_texts.h"
#include "resource.h"

namespace stlag {
namespace {

RunEntryFix Fix(const std::string& valueName, const std::string& oldData, const std::string& newData,
                const std::string& keyName, const std::string& rootName)
{
    RunEntryFix fix;
    fix.valueName = valueName;
    fix.oldData = oldData;
    fix.newData = newData;
    fix.keyName = keyName;
    fix.rootName = rootName;
    return fix;
}

TEST(FindingRowTexts, ColumnsInOrder)
{
    const auto row = FindingRowTexts(Fix("Foo", "C:\\Program Files\\Foo\\foo.exe /x",
                                         "\"C:\\Program Files\\Foo\\foo.exe\" /x", "Run", "HKEY_CURRENT_USER"),
                                     "(radera variabel)");
    EXPECT_EQ("Foo", row[0]);
    EXPECT_EQ("\"C:\\Program Files\\Foo\\foo.exe\" /x", row[1]);
    EXPECT_EQ("C:\\Program Files\\Foo\\foo.exe /x", row[2]);
    EXPECT_EQ("HKEY_CURRENT_USER\\...\\Run", row[3]);
}

TEST(FindingRowTexts, AnEmptyNewDataShowsTheDeleteText)
{
    const RcTexts texts;
    const auto row = FindingRowTexts(Fix("Gammalt", "C:\\Nowhere\\x.exe", "", "Run", "HKEY_LOCAL_MACHINE"),
                                     texts.Load(IDS_DELETE_VALUE_ROW));
    EXPECT_EQ("(radera variabel)", row[1]);
    EXPECT_EQ("C:\\Nowhere\\x.exe", row[2]);
}

TEST(FindingRowTexts, TheKeyColumnElidesTheFixedMiddle)
{
    EXPECT_EQ("HKEY_LOCAL_MACHINE\\...\\RunOnce\\Setup",
              FindingRowTexts(Fix("v", "", "", "RunOnce\\Setup", "HKEY_LOCAL_MACHINE"), "-")[3]);
    EXPECT_EQ("HKEY_LOCAL_MACHINE\\...\\RunServicesOnce",
              FindingRowTexts(Fix("v", "", "", "RunServicesOnce", "HKEY_LOCAL_MACHINE"), "-")[3]);
}

TEST(FindingRowTexts, AnEmptyValueNameAndOldDataStayEmpty)
{
    const auto row = FindingRowTexts(Fix("", "", "", "Run", "HKEY_CURRENT_USER"), "(radera variabel)");
    EXPECT_EQ("", row[0]);
    EXPECT_EQ("(radera variabel)", row[1]);
    EXPECT_EQ("", row[2]);
}

}  // namespace
}  // namespace stlag
