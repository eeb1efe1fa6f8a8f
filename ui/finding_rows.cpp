#include "finding_rows.h"

namespace stlag {

std::array<std::string, kFindingColumns> FindingRowTexts(const RunEntryFix& fix, const std::string& deleteText)
{
    // The column is narrow: the fixed middle of every start-up key is elided.
    return {fix.valueName, fix.newData.empty() ? deleteText : fix.newData, fix.oldData,
            fix.rootName + "\\...\\" + fix.keyName};
}

}  // namespace stlag
