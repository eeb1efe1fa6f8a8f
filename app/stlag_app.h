// The application: runs the wizard once, and the process ends when it closes.
#ifndef STLAG_STLAG_APP_H
#define STLAG_STLAG_APP_H

#include <windows.h>

namespace stlag {

class CStlagApp {
public:
    // Runs the whole wizard; FALSE, as there is no message loop of the program's own to start.
    BOOL InitInstance();
};

extern CStlagApp theApp;

}  // namespace stlag

#endif
