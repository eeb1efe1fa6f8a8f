// Where an elevated stlagc may keep its backup: the folder form of /repair's argument, and
// the folders that only administrators can change.
#include <gtest/gtest.h>

#include "backup_folder.h"
#include "fakes.h"
#include "resource.h"

using namespace stlag;

namespace {
const std::string kAdmins = "S-1-5-32-544", kUsers = "S-1-5-32-545", kUser = "S-1-5-21-1-2-3-1001", kAuthenticated = "S-1-5-11";
const std::string kInstaller = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
}  // namespace

TEST(BackupFolder, FolderByForm)
{
    const struct { std::string argument, folder; } cases[] = {
        {"C:\\d\\", "C:\\d"},     {"C:\\d\"", "C:\\d"},  // "C:\d\" as the C runtime hands it over
        {"C:\\d\" \t", "C:\\d"},  {"C:\\d\\b.reg", "-"},  // cmd's blank before a redirection
        {"\\", ""},               {"C:\\\xCE\xA9\\", "C:\\\xCE\xA9"},  // in UTF-8, "Ω"
    };
    for (const auto& c : cases)
        EXPECT_EQ(FolderByForm(c.argument).value_or("-"), c.folder) << c.argument;
}

// Besides the row's grant, SYSTEM and Administrators have full control and CREATOR OWNER GENERIC_ALL.
TEST(BackupFolder, OnlyAdministratorsMayChangeIt)
{
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
    // The running administrator without a split token owns what it makes; its grants are its own.
    FolderFacts own{true, false, true, kUser, {{kUser, 0x1f01ff}}};
    EXPECT_EQ(FolderRefusal(own, kUser), 0u);
    EXPECT_EQ(AncestorRefusal(own, false, kUser), 0u);
    own.grants.push_back({kUsers, 0x2});
    EXPECT_EQ(FolderRefusal(own, kUser), kOthers);
    // No access list lets everybody do everything; a link or a file is refused whoever owns it.
    EXPECT_EQ(FolderRefusal(FolderFacts{true, false, false, kAdmins, {}}), kOthers);
    EXPECT_EQ(FolderRefusal(FolderFacts{true, true, true, kAdmins, {}}), IDS_FOLDER_REPARSE_POINT);
    EXPECT_EQ(FolderRefusal(FolderFacts{false, false, true, kAdmins, {}}), IDS_FOLDER_NOT_A_FOLDER);
}

// A folder above the backup's: only a way to swap it or an entry of it counts. Besides the row's
// grants, SYSTEM and Administrators have full control. kUser stands for the elevated
// administrator's own account as well.
TEST(BackupFolder, OnlyAdministratorsMaySwapAFolderAbove)
{
    const std::vector<AccessGrant> kDriveRoot = {{kUsers, 0x1200a9}, {kAuthenticated, 0x4}, {kAuthenticated, 0xe0010000, true}};
    const unsigned kSwap = IDS_FOLDER_ABOVE_OTHERS_MAY_SWAP, kOwner = IDS_FOLDER_ABOVE_FOREIGN_OWNER;
    const struct { std::string owner; std::vector<AccessGrant> grants; bool root; unsigned refusal; bool link = false, list = true; } cases[] = {
        {kInstaller, kDriveRoot, true, 0},   // C:\ as Windows sets it up: users add folders, Modify is handed down
        {kInstaller, kDriveRoot, false, 0},  // and below a root, where a handed-down DELETE would rename it
        {"S-1-5-18", {{"S-1-3-0", 0x1f01ff, true}, {kUsers, 0x1200a9}, {kUsers, 0x100116}}, false, 0},  // C:\ProgramData
        // A folder made in C:\ inherits Modify: it can be renamed, unless it is a root.
        {kAdmins, {{kAuthenticated, 0x1301bf}}, false, kSwap}, {kAdmins, {{kAuthenticated, 0x1301bf}}, true, 0},
        {kAdmins, {{kUser, 0x1f01ff}}, true, kSwap}, {kAdmins, {{kUsers, 0x40}}, true, kSwap}, {kAdmins, {{"", 0x40}}, true, kSwap},
        {kAdmins, {{kUsers, 0x40000}}, true, kSwap}, {kAdmins, {{kUsers, 0x80000}}, true, kSwap},
        {kAdmins, {{"S-1-1-0", 0x10000000}}, true, kSwap}, {kUser, kDriveRoot, true, kOwner}, {"", {}, true, kOwner},
        {kAdmins, {}, true, IDS_FOLDER_ABOVE_REPARSE_POINT, true}, {kAdmins, {}, true, kSwap, false, false},  // no access list
    };
    for (const auto& c : cases) {
        FolderFacts facts{true, c.link, c.list, c.owner, {{"S-1-5-18", 0x1f01ff}, {kAdmins, 0x1f01ff}}};
        facts.grants.insert(facts.grants.end(), c.grants.begin(), c.grants.end());
        EXPECT_EQ(AncestorRefusal(facts, c.root), c.refusal) << "row " << &c - cases;
    }
}
