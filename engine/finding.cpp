#include "finding.h"

namespace stlag {

bool operator==(const Finding& a, const Finding& b)
{
    return a.valueName == b.valueName && a.oldData == b.oldData && a.newData == b.newData &&
           a.subKey == b.subKey && a.root == b.root && a.view == b.view && a.type == b.type;
}

}  // namespace stlag
