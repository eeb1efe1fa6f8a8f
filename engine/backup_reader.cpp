#include "backup_reader.h"

#include <algorithm>

#include "ansi_text.h"

namespace stlag {

namespace {

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string TrimEnd(const std::string& text)
{
    const std::size_t last = text.find_last_not_of(" \t");
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

// The quoted text whose opening quote is at pos, unescaped; pos ends past its closing quote.
// The editor knows no escape but \\ and \"; a trail byte equal to '\' escapes nothing.
bool ReadQuoted(const std::string& line, std::size_t& pos, const CodePage& codePage, std::string& out)
{
    for (std::size_t i = pos + 1; i < line.size();) {
        const std::size_t length = CharLength(line, i, codePage);
        if (length == 1 && line[i] == '"') {
            pos = i + 1;
            return true;
        }
        // No string the editor writes holds a NUL: what followed it would be hidden in the value.
        if (line[i] == '\0')
            return false;
        if (length == 1 && line[i] == '\\') {
            if (i + 1 == line.size() || (line[i + 1] != '\\' && line[i + 1] != '"'))
                return false;
            ++i;
        }
        out.append(line, i, length);
        i += length;
    }
    return false;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// "xx,xx,..." with blanks anywhere between the bytes; an empty list is no bytes.
bool ReadHexBytes(const std::string& list, std::string& bytes)
{
    std::string digits;
    for (const char c : list) {
        if (c != ' ' && c != '\t')
            digits += c;
    }
    for (std::size_t i = 0; i < digits.size(); i += 3) {
        const int high = HexDigit(digits[i]), low = i + 1 < digits.size() ? HexDigit(digits[i + 1]) : -1;
        const bool separated = i + 2 >= digits.size() || (digits[i + 2] == ',' && i + 3 < digits.size());
        if (high < 0 || low < 0 || !separated)
            return false;
        bytes += static_cast<char>(high * 16 + low);
    }
    return true;
}

// A string's bytes as hex(1) or hex(2) hold them: the text, then its NUL. Anything after
// the first NUL is a second string, which no repair records.
void TakeStringBytes(const std::string& bytes, unsigned long type, BackupEntry& entry)
{
    const std::string text = WithoutTerminators(bytes);
    const bool oneString = !bytes.empty() && bytes.back() == '\0' && text.find('\0') == std::string::npos;
    entry.data = oneString ? text : std::string();
    entry.type = oneString ? type : kRegNone;
}

// What follows the '=' of a value line; false when the editor would not read it.
bool ReadData(const std::string& text, const CodePage& codePage, BackupEntry& entry)
{
    if (!text.empty() && text[0] == '"') {
        std::size_t pos = 0;
        entry.type = kRegSz;
        return ReadQuoted(text, pos, codePage, entry.data) && TrimEnd(text.substr(pos)).empty();
    }
    if (TrimEnd(text) == "-")
        return true;
    if (text.compare(0, 6, "dword:") == 0) {
        const std::string digits = TrimEnd(text.substr(6));
        return !digits.empty() && digits.size() <= 8 &&
               std::all_of(digits.begin(), digits.end(), [](char c) { return HexDigit(c) >= 0; });
    }
    const std::size_t colon = text.find(':');
    std::string bytes;
    if (colon == std::string::npos || text.compare(0, 3, "hex") != 0 || !ReadHexBytes(text.substr(colon + 1), bytes))
        return false;
    const std::string kind = text.substr(0, colon);
    if (kind == "hex(1)" || kind == "hex(2)")
        TakeStringBytes(bytes, kind == "hex(1)" ? kRegSz : kRegExpandSz, entry);
    return kind == "hex" || (kind.size() > 5 && kind.compare(0, 4, "hex(") == 0 && kind.back() == ')');
}

// A value line, hex lists continued over the lines that a trailing backslash joins.
bool ReadValueLine(const std::vector<std::string>& lines, std::size_t& index, const CodePage& codePage,
                   BackupEntry& entry)
{
    std::string line = lines[index];
    std::size_t pos = 1;  // past "@"
    if (line[0] == '"') {
        pos = 0;
        if (!ReadQuoted(line, pos, codePage, entry.name))
            return false;
    }
    if (pos >= line.size() || line[pos] != '=')
        return false;
    std::string data = line.substr(pos + 1);
    while (data.compare(0, 3, "hex") == 0 && !TrimEnd(data).empty() && TrimEnd(data).back() == '\\' &&
           index + 1 < lines.size()) {
        data = TrimEnd(data);
        data.pop_back();
        const std::string& next = lines[++index];
        data += next.substr(std::min(next.find_first_not_of(" \t"), next.size()));
    }
    return ReadData(data, codePage, entry);
}

}  // namespace

ParsedBackup ReadBackup(const std::string& text, const CodePage& codePage)
{
    ParsedBackup parsed;
    const std::vector<std::string> lines = SplitLines(text);
    std::string section;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string line = TrimEnd(lines[i]);
        parsed.errorLine = i + 1;
        if (i == 0 ? line != "REGEDIT4" : false)
            return parsed;
        if (i == 0 || line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            if (line.back() != ']' || line.size() < 3)
                return parsed;
            section = line.substr(1, line.size() - 2);
            inSection = true;
            // Deleting a key writes nothing back, and its section's values follow no repair.
            if (section[0] == '-')
                parsed.entries.push_back({i + 1, section, std::string(), std::string(), kRegNone});
            continue;
        }
        BackupEntry entry{i + 1, section};
        if (!inSection || (line[0] != '"' && line[0] != '@') || !ReadValueLine(lines, i, codePage, entry))
            return parsed;
        parsed.entries.push_back(entry);
    }
    parsed.read = true;
    parsed.errorLine = 0;
    return parsed;
}

}  // namespace stlag
