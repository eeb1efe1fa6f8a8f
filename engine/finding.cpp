#include "finding.h"

namespace stlag {

bool operator==(const Finding& a, const Finding& b)
{
    return a.valueName == b.valueName && a.oldData == b.oldData && a.newData == b.newData &&
           a.keyName == b.keyName && a.rootName == b.rootName && a.view == b.view;
}

}  // namespace stlag
