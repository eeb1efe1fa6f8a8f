// One faulty value, and the ordered list of them that a scan finds.
#ifndef STLAG_FINDING_H
#define STLAG_FINDING_H

#include <string>
#include <vector>

#include "registry.h"

namespace stlag {

// An empty newData means the value is to be deleted rather than rewritten. The key is
// subKey below root, in view; type is REG_SZ or REG_EXPAND_SZ, and the repair writes it
// back with it.
struct Finding {
    std::string valueName;
    std::string oldData;
    std::string newData;
    std::string subKey;
    RegistryRoot root = RegistryRoot::LocalMachine;
    RegistryView view = RegistryView::Native;
    unsigned long type = kRegSz;
};

bool operator==(const Finding& a, const Finding& b);
inline bool operator!=(const Finding& a, const Finding& b) { return !(a == b); }

// In scan order; row i of the finding list always shows finding i.
using FindingList = std::vector<Finding>;

// How a value was judged. ProgramMissing: an unquoted path with a blank whose program is
// not there, so it cannot be told where the program ends; reported, never changed.
// Unjudged: left as it is, for the reason given beside it. ChangeByHand: faulty, but a
// change could stop the machine from starting, so a person must make it. The order is
// the weight: a list of values takes the weightiest verdict of its items.
enum class Verdict { Ok, ProgramMissing, Unjudged, Faulty, ChangeByHand };

// Why a value was left unjudged: its key path, name or data cannot be written back as they
// are, or the file system could not tell whether its program is there.
enum class UnjudgedReason {
    None,
    KeyPathControlCharacter,
    NameControlCharacter,
    NameNotInCodePage,
    Unreadable,
    MoreThanOneString,
    DataNotInCodePage,
    NetworkOrDevicePath,
    DriveNotLocalFixed,
    RelativePath,
    Wildcard,
    Folder,
    FileSystemError,
    ReparsePoint,
    PathTooLong,
    ProgramInVariable,
    ProgramForm,
    UserVariable,
    ExpansionFailed,
    ExpansionEmpty,
};

}  // namespace stlag

#endif
