// Reads registry keys, judges their string values and writes the troubleshooting log: the
// start-up keys as the wizard scans them, or any list of sections.
#ifndef STLAG_RUN_KEY_SCANNER_H
#define STLAG_RUN_KEY_SCANNER_H

#include <string>
#include <vector>

#include "command_line_checker.h"
#include "platform.h"
#include "registry.h"
#include "finding.h"

namespace stlag {

// Run: command lines, judged by CheckCommandLine (a value may go). Path: program paths,
// judged by CheckProgramPath (quoted at most). Winlogon: Shell as a program path, Userinit
// by CheckProgramList (never changed). Each judges REG_SZ and REG_EXPAND_SZ values.
enum class CheckRule { Run, Path, Winlogon };

// One key to scan: subKey below root (HKEY_USERS takes the hive in subKey), and the names
// of the values to judge; empty names: every value of the key. owner: whose the key's lines
// are (the process's own hive, the machine, another account's hive). listError: listing the
// key's sub-keys ended with that status, or its name is not in the code page (1113) or holds
// a NUL (123); the key is then reported as not read, not opened.
struct ScanSection {
    RegistryRoot root = RegistryRoot::LocalMachine;
    std::string subKey;
    RegistryView view = RegistryView::Native;
    CheckRule rule = CheckRule::Run;
    std::vector<std::string> valueNames;
    LineOwner owner = LineOwner::Machine;
    long listError = kErrorSuccess;
    std::u16string trueName = {};  // the last part's own name, when the code page lacks it
};

// A string value of section, name and type, its data as judged, judged by the section's rule.
Judgement JudgeByRule(const CommandLineChecker& checker, const ScanSection& section, const std::string& name,
                      unsigned long type, const std::string& data);

// The keys Windows runs at start-up, in scan order: the user's two and the machine's five
// in the program's own view, the machine's five as 32-bit programs see them, then the
// user's and the machine's policy Run keys.
std::vector<ScanSection> RunSections();

// A key the scan went to, with its path as the log names it, and the status that kept it
// from being read whole (0 when it was, or when it does not exist).
struct ScannedKey {
    std::string path;
    RegistryView view = RegistryView::Native;
    long error = kErrorSuccess;
    std::u16string trueName = {};  // the last part's own name, when the code page lacks it
};

// One value the scan looked at: the index of its key, its data as judged (terminating NULs
// dropped), the index of its finding or -1, why it was not judged, and what a person should
// make of it when it must be changed by hand.
struct LookedAt {
    std::size_t key = 0;
    std::string name;
    unsigned long type = kRegNone;
    std::string data;
    Verdict verdict = Verdict::Unjudged;
    int finding = -1;
    UnjudgedReason reason = UnjudgedReason::None;
    std::string byHand;
    std::u16string trueName = {}, trueData = {};  // the registry's own, when the code page lacks a character
};

// A value the scan passed over without judging it: the index of its key, its name when it
// was read (else its index in the key), and the status that kept it from being read.
struct UnreadValue {
    std::size_t key = 0;
    bool named = false;
    std::string name;
    std::u16string trueName = {};  // the registry's own, when the code page lacks a character
    unsigned long index = 0;
    long status = kErrorSuccess;
};

// What a scan leaves: the faulty values, the troubleshooting log (ANSI, CR LF), every key
// it went to, in section order, every value it looked at, and every value it could not read.
struct ScanResult {
    FindingList findings;
    std::string logText;
    std::vector<ScannedKey> keys;
    std::vector<LookedAt> values;
    std::vector<UnreadValue> unread;
};

class RunKeyScanner {
public:
    RunKeyScanner(Registry& registry, const CommandLineChecker& checker, const Texts& texts)
        : registry_(registry), checker_(checker), texts_(texts) {}

    // Reads every section in order; a key that cannot be opened or read to its end is
    // logged, its status kept, and the scan goes on; a named value that is not there is
    // passed over. Changes nothing.
    ScanResult Scan(const std::vector<ScanSection>& sections) const;
    ScanResult Scan() const { return Scan(RunSections()); }

private:
    struct LogTexts;
    void ScanSectionKey(const LogTexts& texts, const ScanSection& section, ScanResult& result) const;
    void ScanKey(const LogTexts& texts, const ScanSection& section, RegKey key, ScanResult& result) const;
    void EndWalk(const LogTexts& texts, long status, ScanResult& result) const;
    void JudgeValue(const LogTexts& texts, const ScanSection& section, const RegValue& value,
                    ScanResult& result) const;
    Judgement Judge(const ScanSection& section, const RegValue& value, const std::string& data) const;
    void Conclude(const LogTexts& texts, const ScanSection& section, const RegValue& value, LookedAt& looked,
                  ScanResult& result) const;
    // Why a value cannot be judged, or None when it can.
    static UnjudgedReason Unjudged(const ScanResult& result, const RegValue& value, const std::string& data);

    Registry& registry_;
    const CommandLineChecker& checker_;
    const Texts& texts_;
};

}  // namespace stlag

#endif
