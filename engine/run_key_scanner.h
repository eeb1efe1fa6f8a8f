// Reads the seven start-up keys, judges every string value and writes the
// troubleshooting log.
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
};

// The keys Windows runs at start-up, in scan order.
extern const RunKeyPath kRunKeyPaths[7];

// Value names are read into a buffer of this many bytes, the NUL included.
constexpr std::size_t kValueNameBufferSize = 4096;

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
    void ScanKey(const LogTexts& texts, const RunKeyPath& path, RegKey key, FindingList& findings,
                 std::string& logText) const;
    void JudgeValue(const LogTexts& texts, const RunKeyPath& path, RegKey key, const std::string& name,
                    FindingList& findings, std::string& logText) const;
    bool ReadStringData(RegKey key, const std::string& name, std::string& data) const;

    Registry& registry_;
    const CommandLineChecker& checker_;
    const CodePage& codePage_;
    const Texts& texts_;
};

}  // namespace stlag

#endif
