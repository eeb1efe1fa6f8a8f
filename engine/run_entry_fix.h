// One faulty start-up value and the ordered list of them.
#ifndef STLAG_RUN_ENTRY_FIX_H
#define STLAG_RUN_ENTRY_FIX_H

#include <string>
#include <vector>

namespace stlag {

// An empty newData means the value is to be deleted rather than rewritten.
struct RunEntryFix {
    std::string valueName;
    std::string oldData;
    std::string newData;
    std::string keyName;
    std::string rootName;
};

bool operator==(const RunEntryFix& a, const RunEntryFix& b);
inline bool operator!=(const RunEntryFix& a, const RunEntryFix& b) { return !(a == b); }

// Findings in scan order; row i of the finding list always shows element i.
class RunEntryFixList {
public:
    void Clear() { items_.clear(); }
    void Append(const RunEntryFix& fix) { items_.push_back(fix); }
    int Count() const { return static_cast<int>(items_.size()); }
    const RunEntryFix& At(int i) const { return items_.at(static_cast<std::size_t>(i)); }
    void EraseAt(int i) { items_.erase(items_.begin() + i); }
    // Erases every element whose flag is set, keeping the order of the rest, in one pass.
    void EraseFlagged(const std::vector<bool>& flagged);

private:
    std::vector<RunEntryFix> items_;
};

}  // namespace stlag

#endif
