#include "finding_rows.h"

namespace stlag {

std::array<std::string, kFindingColumns> FindingRowTexts(const Finding& finding, const std::string& deleteText)
{
    // The column is narrow: the fixed middle of every start-up key is elided.
    return {finding.valueName, finding.newData.empty() ? deleteText : finding.newData, finding.oldData,
            finding.rootName + "\\...\\" + finding.keyName};
}

}  // namespace stlag
