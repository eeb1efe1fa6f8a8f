// Starts a program, collects what it writes and waits for it to end.
#ifndef STLAG_PROCESS_RUNNER_H
#define STLAG_PROCESS_RUNNER_H

#include <string>

namespace stlag {

struct ProcessResult {
    bool started = false;
    unsigned long exitCode = 0;
    std::string out;
    std::string err;
};

// commandLine as CreateProcess takes it; gives up after timeoutMs.
ProcessResult RunProcess(const std::string& commandLine, unsigned long timeoutMs = 60000);

// Quotes a path for a command line.
inline std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace stlag

#endif
