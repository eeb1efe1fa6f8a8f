// Where a backup may be kept: a folder named by the form of /repair's argument, the file
// named by the time in it, and whether only administrators can change a folder. Plain
// values in and out; win32/backup_home reads them off the system.
#ifndef STLAG_BACKUP_FOLDER_H
#define STLAG_BACKUP_FOLDER_H

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "platform.h"

namespace stlag {

// The folder that /repair's argument (UTF-8) names by its form, without its last character:
// it ends in a backslash, or in a double quote, as the C runtime and PowerShell hand over
// "C:\dir\" (C:\dir"), white space after it aside. Nothing for any other argument.
std::optional<std::string> FolderByForm(const std::string& argument);

// folder + "\" + baseName + " " + the time as "%Y-%m-%d %H%M%S" + ".reg", in UTF-8. An empty
// folder leaves the leading backslash.
std::string DefaultBackupFileName(const std::string& folder, const std::string& baseName, const std::tm& localTime);

// Of the names in a folder, the one DefaultBackupFileName gave baseName at the latest time,
// by the time in its name; a name of any other form (one ending in ".undone" too) is no
// candidate. Letter case aside, as Windows compares names. Empty when there is none.
std::string NewestTimedBackup(const std::vector<std::string>& names, const std::string& baseName);

// An entry of a folder's access list that grants rights: the account as a string SID
// ("S-1-5-18"), or empty when the entry's kind names it in a way not read here.
struct AccessGrant {
    std::string sid;
    unsigned long mask = 0;
    bool inheritOnly = false;  // handed down to what is made inside, no right on the folder itself
};

// What a folder's safety depends on. Denying entries take nothing away from the grants
// that count, so only granting ones are listed.
struct FolderFacts {
    bool folder = true, reparsePoint = false;
    bool hasAccessList = true;  // none lets everybody do everything
    std::string ownerSid;
    std::vector<AccessGrant> grants;
};

// 0 when only administrators can change the folder: it is a folder and no reparse point,
// SYSTEM, Administrators, TrustedInstaller or runningAdmin owns it, and no grant to another account
// (CREATOR OWNER aside, which stands for whoever creates an entry inside) holds write,
// append, delete-child, DELETE, WRITE_DAC, WRITE_OWNER, GENERIC_WRITE or GENERIC_ALL.
// Otherwise the id of the text that says why (IDS_FOLDER_*).
// runningAdmin: the account this run is, when it is an administrator whose new folders are
// its own (the built-in Administrator, UAC off); it could change the folder anyway, so
// neither its ownership nor its grants count as another account's.
unsigned FolderRefusal(const FolderFacts& facts, const std::string& runningAdmin = std::string());

// 0 when only administrators can swap a folder above the backup's folder, or what lies in it:
// it is no reparse point, SYSTEM, Administrators, TrustedInstaller or runningAdmin owns it, and no grant
// that applies to it (inherit-only ones do not) gives another account (CREATOR OWNER aside)
// delete-child, WRITE_DAC, WRITE_OWNER, GENERIC_ALL, or DELETE, which renames the folder,
// unless it is a drive's root. Adding entries is no swap. facts.folder is not asked: a path
// goes through folders only. Otherwise the id of the text that says why (IDS_FOLDER_ABOVE_*,
// which names the folder with %s).
unsigned AncestorRefusal(const FolderFacts& facts, bool driveRoot, const std::string& runningAdmin = std::string());

}  // namespace stlag

#endif
