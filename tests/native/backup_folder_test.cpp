// Where an elevated stlagc may keep its backup: the folder form of /repair's argument, and
// the folders that only administrators can change.
#include <gtest/gtest.h>

#include "backup_folder.h"
#include "fakes.h"
#include "resource.h"

using namespace stlag;

TEST(BackupFolder, FolderByForm)
{
    const struct { std::string argument; bool doubleByte; std::string folder; } cases[] = {
        {"C:\\d\\", false, "C:\\d"},       {"C:\\d\"", false, "C:\\d"},  // "C:\d\" as the C runtime hands it over
        {"C:\\d\" \t", false, "C:\\d"},    {"C:\\d\\b.reg", false, "-"},  // cmd's blank before a redirection
        {"\\", false, ""},                 {"C:\\\x95\\\\", true, "C:\\\x95\\"},
        {"C:\\\x95\x5C", true, "-"},       {"C:\\\x95\x5C", false, "C:\\\x95"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FolderByForm(c.argument, FakeCodePage(c.doubleByte)).value_or("-"), c.folder) << c.argument;
}

// Besides the row's grant, SYSTEM and Administrators have full control and CREATOR OWNER GENERIC_ALL.
TEST(BackupFolder, OnlyAdministratorsMayChangeIt)
{
    const std::string kAdmins = "S-1-5-32-544", kUsers = "S-1-5-32-545", kUser = "S-1-5-21-1-2-3-1001";
    const std::string kInstaller = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
    const unsigned kOthers = IDS_FOLDER_OTHERS_MAY_CHANGE;
    const struct { std::string owner, sid; unsigned long mask; unsigned refusal; } cases[] = {
        {kAdmins, kUsers, 0x1201b9, 0},  // read, execute, write attributes and extended attributes
        {"S-1-5-18", kInstaller, 0x1f01ff, 0}, {kInstaller, kUser, 0x1200a9, 0},
        {kUser, kUsers, 0x1200a9, IDS_FOLDER_FOREIGN_OWNER}, {"", kUsers, 0x1200a9, IDS_FOLDER_FOREIGN_OWNER},
        {kAdmins, kUsers, 0x4, kOthers},  // add a folder, as %ProgramData% lets users
        {kAdmins, kUsers, 0x2, kOthers}, {kAdmins, "S-1-5-11", 0x40, kOthers}, {kAdmins, kUser, 0x10000, kOthers},
        {kAdmins, kUser, 0x40000, kOthers}, {kAdmins, kUser, 0x80000, kOthers},
        {kAdmins, "S-1-1-0", 0x40000000, kOthers}, {kAdmins, "S-1-1-0", 0x10000000, kOthers},
        {kAdmins, "", 0x2, kOthers},  // a grant whose account was not read
    };
    for (const auto& c : cases) {
        FolderFacts facts;
        facts.ownerSid = c.owner;
        facts.grants = {{"S-1-5-18", 0x1f01ff}, {kAdmins, 0x1f01ff}, {"S-1-3-0", 0x10000000}, {c.sid, c.mask}};
        EXPECT_EQ(FolderRefusal(facts), c.refusal) << c.owner << " " << c.sid << " " << c.mask;
    }
    // No access list lets everybody do everything; a link or a file is refused whoever owns it.
    EXPECT_EQ(FolderRefusal(FolderFacts{true, false, false, kAdmins, {}}), kOthers);
    EXPECT_EQ(FolderRefusal(FolderFacts{true, true, true, kAdmins, {}}), IDS_FOLDER_REPARSE_POINT);
    EXPECT_EQ(FolderRefusal(FolderFacts{false, false, true, kAdmins, {}}), IDS_FOLDER_NOT_A_FOLDER);
}
