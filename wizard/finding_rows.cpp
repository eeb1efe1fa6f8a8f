#include "finding_rows.h"

namespace stlag {

std::array<std::string, kFindingColumns> FindingRowTexts(const Finding& finding, const std::string& deleteText)
{
    // The column is narrow: the fixed middle of every start-up key is elided, all but the
    // mark of the 32-bit view.
    const char* middle = finding.view == RegistryView::Wow64 ? "\\Software\\WOW6432Node\\...\\" : "\\...\\";
    return {finding.valueName, finding.newData.empty() ? deleteText : finding.newData, finding.oldData,
            finding.rootName + middle + finding.keyName};
}

}  // namespace stlag
