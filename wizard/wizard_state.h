// What the wizard knows as it goes: the sheet owns one and hands it to every page.
#ifndef STLAG_WIZARD_STATE_H
#define STLAG_WIZARD_STATE_H

#include <string>

#include "finding.h"
#include "text_format.h"

namespace stlag {

struct WizardState {
    FindingList findings;     // row i of the repair page's list shows finding i
    std::string logText;      // the troubleshooting log of the scan
    PathText outcome;         // what the finish page shows, the backup's path apart
};

}  // namespace stlag

#endif
