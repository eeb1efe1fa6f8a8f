// The texts of one row of the repair page's finding list.
#ifndef STLAG_FINDING_ROWS_H
#define STLAG_FINDING_ROWS_H

#include <array>
#include <string>

#include "finding.h"

namespace stlag {

constexpr int kFindingColumns = 4;

// Value name, new data (or deleteText when the value goes), old data, and the key as
// the root's name + "\...\" + the start-up key's name ("\Software\WOW6432Node\...\" in the 32-bit
// view). The wizard's findings all lie below the start-up base.
std::array<std::string, kFindingColumns> FindingRowTexts(const Finding& finding, const std::string& deleteText);

}  // namespace stlag

#endif
