#include "run_entry_fix.h"

#include <utility>

namespace stlag {

bool operator==(const RunEntryFix& a, const RunEntryFix& b)
{
    return a.valueName == b.valueName && a.oldData == b.oldData && a.newData == b.newData &&
           a.keyName == b.keyName && a.rootName == b.rootName;
}

void RunEntryFixList::EraseFlagged(const std::vector<bool>& flagged)
{
    std::size_t kept = 0;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (i < flagged.size() && flagged[i])
            continue;
        if (kept != i)
            items_[kept] = std::move(items_[i]);
        ++kept;
    }
    items_.resize(kept);
}

}  // namespace stlag
