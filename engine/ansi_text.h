// Searches over ANSI text that step over double-byte characters, so a trail byte that
// happens to equal '\' or ' ' is never taken for one.
#ifndef STLAG_ANSI_TEXT_H
#define STLAG_ANSI_TEXT_H

#include <array>
#include <string>

#include "platform.h"

namespace stlag {

// Length in bytes of the character that starts at pos (1 or 2; 1 at the text's end).
std::size_t CharLength(const std::string& text, std::size_t pos, const CodePage& codePage);

// First position of the single-byte character c, or npos.
std::size_t FindChar(const std::string& text, char c, const CodePage& codePage);

// First character boundary at which needle starts, or npos.
std::size_t FindText(const std::string& text, const std::string& needle, const CodePage& codePage);

// Where a path splits into folder and file name: its last backslash; failing that its
// last forward slash; failing that npos.
std::size_t LastPathSeparator(const std::string& path, const CodePage& codePage);

// Tab, LF, VT, FF, CR and blank.
inline bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Leading and trailing white space removed.
std::string TrimWhiteSpace(const std::string& text, const CodePage& codePage);

// The lower case of a UTF-16 unit in the scripts that the single-byte ANSI code pages carry
// (Latin, Greek, Cyrillic); any other unit as it is.
char16_t LowerCaseUnit(char16_t c);

// Lowers upper-case letters of single-byte characters as the code page knows them (so "Ö"
// too in code page 1252); double-byte characters stay as they are, and no byte moves.
// The code page's table is built once, when the object is made.
class LowerCaser {
public:
    explicit LowerCaser(const CodePage& codePage);
    std::string operator()(const std::string& text) const;

private:
    const CodePage& codePage_;
    std::array<char, 256> lowerOf_{};
};

}  // namespace stlag

#endif
