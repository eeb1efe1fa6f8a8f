#include "finding_rows.h"

#include <cstring>

namespace stlag {

std::array<std::string, kFindingColumns> FindingRowTexts(const Finding& finding, const std::string& deleteText)
{
    // The column is narrow: the fixed middle of every start-up key is elided, all but the
    // mark of the 32-bit view.
    const char* middle = finding.view == RegistryView::Wow64 ? "\\Software\\WOW6432Node\\...\\" : "\\...\\";
    const std::size_t base = std::strlen(kRunKeyBase);
    const bool belowBase = finding.subKey.compare(0, base, kRunKeyBase) == 0;
    return {finding.valueName, finding.newData.empty() ? deleteText : finding.newData, finding.oldData,
            std::string(RootName(finding.root)) + middle + (belowBase ? finding.subKey.substr(base) : finding.subKey)};
}

}  // namespace stlag
