#include "variable_expansion.h"

#include <algorithm>
#include <cctype>

namespace stlag {

namespace {

// What the system expands in a program's path alike for every account and every log-on.
bool IsMachineWide(std::string name)
{
    static const char* const kNames[] = {"systemroot",         "windir",
                                         "systemdrive",        "programfiles",
                                         "programfiles(x86)",  "programw6432",
                                         "commonprogramfiles", "commonprogramfiles(x86)",
                                         "commonprogramw6432", "programdata",
                                         "allusersprofile",    "public"};
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
}

// ExpandEnvironmentStrings works on at most this many characters.
constexpr std::size_t kExpansionLimit = 32767;

}  // namespace

Expansion Expand(const std::string& written, const FileSystem& environment)
{
    Expansion result;
    for (std::size_t at = 0; at < written.size() && !result.failed;) {
        const std::size_t open = written.find('%', at);
        const std::size_t close = open == std::string::npos ? open : written.find('%', open + 1);
        if (close == std::string::npos) {
            result.text.append(written, at, std::string::npos);
            break;
        }
        result.text.append(written, at, open - at);
        at = close + 1;
        const std::string name = written.substr(open + 1, close - open - 1);
        // "%%" names nothing, as the system reads it.
        const VariableValue value = name.empty() ? VariableValue() : environment.Variable(name);
        VariableSpan span{open, at, result.text.size(), 0, IsMachineWide(name)};
        result.text += value.state == VariableValue::Set ? value.text : written.substr(open, at - open);
        span.expandedEnd = result.text.size();
        if (!name.empty())
            result.spans.push_back(span);
        result.failed = value.state == VariableValue::Unreadable || result.text.size() > kExpansionLimit;
    }
    result.failed = result.failed || result.text.size() > kExpansionLimit;
    return result;
}

Expansion AsItStands(const std::string& written)
{
    Expansion result;
    result.text = written;
    return result;
}

std::size_t WrittenEnd(const Expansion& expansion, std::size_t expandedEnd)
{
    std::size_t written = expandedEnd;
    for (const VariableSpan& span : expansion.spans) {
        if (expandedEnd <= span.expandedBegin)
            break;
        if (expandedEnd < span.expandedEnd)
            return std::string::npos;
        written = span.writtenEnd + (expandedEnd - span.expandedEnd);
    }
    return written;
}

bool HoldsAccountVariable(const Expansion& expansion, std::size_t expandedEnd)
{
    for (const VariableSpan& span : expansion.spans) {
        if (span.expandedBegin > expandedEnd || (span.expandedBegin == expandedEnd && span.expandedEnd > expandedEnd))
            break;
        if (!span.machineWide)
            return true;
    }
    return false;
}

}  // namespace stlag
