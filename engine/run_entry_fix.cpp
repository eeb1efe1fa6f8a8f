#include "run_entry_fix.h"

namespace stlag {

bool operator==(const RunEntryFix& a, const RunEntryFix& b)
{
    return a.valueName == b.valueName && a.oldData == b.oldData && a.newData == b.newData &&
           a.keyName == b.keyName && a.rootName == b.rootName;
}

}  // namespace stlag
