// Searches over ANSI text that step over double-byte characters, so a trail byte that
// happens to equal '\' or ' ' is never taken for one.
#ifndef STLAG_ANSI_TEXT_H
#define STLAG_ANSI_TEXT_H

#include <string>

#include "platform.h"

namespace stlag {

// Length in bytes of the character that starts at pos (1 or 2; 1 at the text's end).
std::size_t CharLength(const std::string& text, std::size_t pos, const CodePage& codePage);

// First position of the single-byte character c, or npos.
std::size_t FindChar(const std::string& text, char c, const CodePage& codePage);

// First character boundary at which needle starts, or npos.
std::size_t FindText(const std::string& text, const std::string& needle, const CodePage& codePage);

// A-Z lowered in single-byte characters only; positions never move.
std::string LowerAscii(const std::string& text, const CodePage& codePage);

// Tab, LF, VT, FF, CR and blank.
inline bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Leading and trailing white space removed.
std::string TrimWhiteSpace(const std::string& text, const CodePage& codePage);

}  // namespace stlag

#endif
