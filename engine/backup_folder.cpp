#include "backup_folder.h"

#include <algorithm>

#include "ansi_text.h"
#include "resource.h"

namespace stlag {

namespace {

const char kSystem[] = "S-1-5-18", kAdministrators[] = "S-1-5-32-544", kCreatorOwner[] = "S-1-3-0";
const char kTrustedInstaller[] = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

// FILE_WRITE_DATA (add a file), FILE_APPEND_DATA (add a folder), FILE_DELETE_CHILD, DELETE
// (rename the folder away and put another in its place), WRITE_DAC, WRITE_OWNER,
// GENERIC_ALL and GENERIC_WRITE.
const unsigned long kChangeRights = 0x2 | 0x4 | 0x40 | 0x10000 | 0x40000 | 0x80000 | 0x10000000 | 0x40000000;
// Of those, what swaps an entry of a folder above, or, with DELETE, the folder itself.
const unsigned long kSwapRights = 0x40 | 0x40000 | 0x80000 | 0x10000000, kDelete = 0x10000;

bool IsAdministration(const std::string& sid)
{
    return sid == kSystem || sid == kAdministrators || sid == kTrustedInstaller;
}

// runningAdmin: an administrator's account that may change the folder anyway, or empty.
bool OthersMay(const FolderFacts& facts, unsigned long rights, bool inheritOnlyCounts, const std::string& runningAdmin)
{
    return !facts.hasAccessList ||
           std::any_of(facts.grants.begin(), facts.grants.end(), [&](const AccessGrant& grant) {
               return (grant.mask & rights) != 0 && (inheritOnlyCounts || !grant.inheritOnly) &&
                      !IsAdministration(grant.sid) && grant.sid != kCreatorOwner &&
                      (runningAdmin.empty() || grant.sid != runningAdmin);
           });
}

bool OwnedByAdministration(const FolderFacts& facts, const std::string& runningAdmin)
{
    return IsAdministration(facts.ownerSid) || (!runningAdmin.empty() && facts.ownerSid == runningAdmin);
}

// A "YYYY-MM-DD HHMMSS" of digits that a clock can show: no month 13, no minute 60.
bool IsTime(const std::string& stamp)
{
    const auto field = [&stamp](std::size_t at) { return std::stoi(stamp.substr(at, 2)); };
    return field(5) >= 1 && field(5) <= 12 && field(8) >= 1 && field(8) <= 31 && field(11) <= 23 && field(13) <= 59 &&
           field(15) <= 60;
}

}  // namespace

std::optional<std::string> FolderByForm(const std::string& argument)
{
    // Blanks after the quote are what cmd leaves before a redirection: "C:\dir\" >log. No byte
    // of a UTF-8 character from beyond ASCII is a backslash, a quote or white space.
    const std::size_t last = argument.find_last_not_of(" \t\n\v\f\r");
    if (last == std::string::npos || (argument[last] != '\\' && argument[last] != '"'))
        return std::nullopt;
    return argument.substr(0, last);
}

std::string DefaultBackupFileName(const std::string& folder, const std::string& baseName, const std::tm& localTime)
{
    char stamp[64] = {};
    if (std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H%M%S", &localTime) == 0)
        stamp[0] = '\0';
    return folder + "\\" + baseName + " " + stamp + ".reg";
}

std::string NewestTimedBackup(const std::vector<std::string>& names, const std::string& baseName)
{
    static const char kForm[] = "0000-00-00 000000";  // 0: a digit
    const std::size_t stampAt = baseName.size() + 1, stampLength = sizeof kForm - 1;
    std::string newest, newestStamp;
    for (const std::string& name : names) {
        std::string lowered = name;
        std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
        if (name.size() != stampAt + stampLength + 4 || lowered.compare(0, stampAt, baseName + " ") != 0 ||
            lowered.compare(stampAt + stampLength, 4, ".reg") != 0)
            continue;
        const std::string stamp = name.substr(stampAt, stampLength);
        const bool formed = std::equal(stamp.begin(), stamp.end(), kForm, [](char c, char form) {
            return form == '0' ? c >= '0' && c <= '9' : c == form;
        });
        if (formed && IsTime(stamp) && stamp > newestStamp) {
            newest = name;
            newestStamp = stamp;
        }
    }
    return newest;
}

unsigned FolderRefusal(const FolderFacts& facts, const std::string& runningAdmin)
{
    if (!facts.folder)
        return IDS_FOLDER_NOT_A_FOLDER;
    if (facts.reparsePoint)
        return IDS_FOLDER_REPARSE_POINT;
    // What others may make inside counts too: the backup file lies there.
    if (OthersMay(facts, kChangeRights, true, runningAdmin))
        return IDS_FOLDER_OTHERS_MAY_CHANGE;
    return OwnedByAdministration(facts, runningAdmin) ? 0 : IDS_FOLDER_FOREIGN_OWNER;
}

unsigned AncestorRefusal(const FolderFacts& facts, bool driveRoot, const std::string& runningAdmin)
{
    if (facts.reparsePoint)
        return IDS_FOLDER_ABOVE_REPARSE_POINT;
    if (OthersMay(facts, kSwapRights | (driveRoot ? 0 : kDelete), false, runningAdmin))
        return IDS_FOLDER_ABOVE_OTHERS_MAY_SWAP;
    return OwnedByAdministration(facts, runningAdmin) ? 0 : IDS_FOLDER_ABOVE_FOREIGN_OWNER;
}

}  // namespace stlag
