// One faulty start-up value, and the ordered list of them that a scan finds.
#ifndef STLAG_FINDING_H
#define STLAG_FINDING_H

#include <string>
#include <vector>

#include "registry.h"

namespace stlag {

// An empty newData means the value is to be deleted rather than rewritten.
struct Finding {
    std::string valueName;
    std::string oldData;
    std::string newData;
    std::string keyName;
    std::string rootName;
    RegistryView view = RegistryView::Native;
};

bool operator==(const Finding& a, const Finding& b);
inline bool operator!=(const Finding& a, const Finding& b) { return !(a == b); }

// In scan order; row i of the finding list always shows finding i.
using FindingList = std::vector<Finding>;

}  // namespace stlag

#endif
