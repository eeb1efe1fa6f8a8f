#include "ansi_text.h"

namespace stlag {

std::size_t CharLength(const std::string& text, std::size_t pos, const CodePage& codePage)
{
    if (pos + 1 < text.size() && codePage.IsLeadByte(static_cast<unsigned char>(text[pos])))
        return 2;
    return 1;
}

std::size_t FindChar(const std::string& text, char c, const CodePage& codePage)
{
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i, codePage)) {
        if (text[i] == c && CharLength(text, i, codePage) == 1)
            return i;
    }
    return std::string::npos;
}

std::size_t FindText(const std::string& text, const std::string& needle, const CodePage& codePage)
{
    for (std::size_t i = 0; i + needle.size() <= text.size(); i += CharLength(text, i, codePage)) {
        if (text.compare(i, needle.size(), needle) == 0)
            return i;
    }
    return std::string::npos;
}

std::string LowerAscii(const std::string& text, const CodePage& codePage)
{
    std::string lower = text;
    for (std::size_t i = 0; i < lower.size(); i += CharLength(lower, i, codePage)) {
        if (lower[i] >= 'A' && lower[i] <= 'Z' && CharLength(lower, i, codePage) == 1)
            lower[i] = static_cast<char>(lower[i] - 'A' + 'a');
    }
    return lower;
}

std::string TrimWhiteSpace(const std::string& text, const CodePage& codePage)
{
    // No lead byte is white space, so the front can be trimmed bytewise; the back needs a
    // forward walk to tell a trail byte from a character of its own.
    std::size_t first = 0;
    while (first < text.size() && IsWhiteSpace(text[first]))
        ++first;
    std::size_t end = first;
    for (std::size_t i = first; i < text.size();) {
        const std::size_t len = CharLength(text, i, codePage);
        if (len == 2 || !IsWhiteSpace(text[i]))
            end = i + len;
        i += len;
    }
    return text.substr(first, end - first);
}

}  // namespace stlag
