// Reads the start-up keys, judges every string value and writes the troubleshooting log.
#ifndef STLAG_RUN_KEY_SCANNER_H
#define STLAG_RUN_KEY_SCANNER_H

#include <string>

#include "command_line_checker.h"
#include "platform.h"
#include "registry.h"
#include "finding.h"

namespace stlag {

struct RunKeyPath {
    const char* rootName;
    const char* keyName;
    RegistryView view;
};

// The keys Windows runs at start-up, in scan order: the seven of the program's own view,
// then the machine's five as 32-bit programs see them.
extern const RunKeyPath kRunKeyPaths[12];

// What a scan leaves: the faulty values and the troubleshooting log (ANSI, CR LF).
struct ScanResult {
    FindingList findings;
    std::string logText;
};

class RunKeyScanner {
public:
    RunKeyScanner(Registry& registry, const CommandLineChecker& checker, const CodePage& codePage,
                  const Texts& texts)
        : registry_(registry), checker_(checker), codePage_(codePage), texts_(texts) {}

    // Reads every start-up key in scan order; a key that cannot be opened is logged and
    // the scan goes on. Changes nothing.
    ScanResult Scan() const;

private:
    struct LogTexts;
    void ScanKey(const LogTexts& texts, const RunKeyPath& path, RegKey key, ScanResult& result) const;
    void JudgeValue(const LogTexts& texts, const RunKeyPath& path, const RegValue& value, ScanResult& result) const;
    // The log line that leaves a string value unjudged, or null when it can be judged.
    const std::string* Unjudged(const LogTexts& texts, const RegValue& value, const std::string& data) const;

    Registry& registry_;
    const CommandLineChecker& checker_;
    const CodePage& codePage_;
    const Texts& texts_;
};

}  // namespace stlag

#endif
