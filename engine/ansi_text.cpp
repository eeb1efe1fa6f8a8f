#include "ansi_text.h"

#include <map>

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
    // Most texts do not hold the needle at all; only a byte match needs the character walk.
    if (text.find(needle) == std::string::npos)
        return std::string::npos;
    for (std::size_t i = 0; i + needle.size() <= text.size(); i += CharLength(text, i, codePage)) {
        if (text.compare(i, needle.size(), needle) == 0)
            return i;
    }
    return std::string::npos;
}

std::size_t LastPathSeparator(const std::string& path, const CodePage& codePage)
{
    std::size_t backslash = std::string::npos;
    std::size_t slash = std::string::npos;
    for (std::size_t i = 0; i < path.size(); i += CharLength(path, i, codePage)) {
        if (CharLength(path, i, codePage) != 1)
            continue;
        if (path[i] == '\\')
            backslash = i;
        else if (path[i] == '/')
            slash = i;
    }
    return backslash != std::string::npos ? backslash : slash;
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

// Simple lower-case mapping for the scripts that the single-byte ANSI code pages carry:
// Latin, Greek and Cyrillic.
char16_t LowerCaseUnit(char16_t c)
{
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F)
            return c;
        if (c == 0x178)
            return 0xFF;
        // Upper and lower case alternate; the capital comes first on an odd code in the two
        // runs that a lone lower-case letter shifts.
        const bool capitalOnOdd = (c >= 0x139 && c <= 0x148) || c >= 0x179;
        const bool isCapital = (c % 2 == 1) == capitalOnOdd;
        return isCapital ? static_cast<char16_t>(c + 1) : c;
    }
    if ((c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F)
        return static_cast<char16_t>(c + 0x50);
    return c == 0x490 ? 0x491 : c;
}

LowerCaser::LowerCaser(const CodePage& codePage) : codePage_(codePage)
{
    // Which byte stands for which character, for every single-byte character of the page.
    std::array<char16_t, 256> unitOf{};
    std::map<char16_t, unsigned char> byteOf;
    for (unsigned b = 0; b < 256; ++b) {
        lowerOf_[b] = static_cast<char>(b);
        if (b == 0 || codePage.IsLeadByte(static_cast<unsigned char>(b)))
            continue;
        const std::u16string wide = codePage.ToWide(std::string(1, static_cast<char>(b)));
        // U+FFFD is no character: in UTF-8 every byte from 0x80 on alone gives it, and all of
        // them would be lowered to one byte.
        if (wide.size() != 1 || wide[0] == 0xFFFD)
            continue;
        unitOf[b] = wide[0];
        byteOf.emplace(wide[0], static_cast<unsigned char>(b));
    }
    for (unsigned b = 1; b < 256; ++b) {
        const auto found = unitOf[b] != 0 ? byteOf.find(LowerCaseUnit(unitOf[b])) : byteOf.end();
        if (found != byteOf.end())
            lowerOf_[b] = static_cast<char>(found->second);
    }
}

std::string LowerCaser::operator()(const std::string& text) const
{
    std::string lower = text;
    for (std::size_t i = 0; i < lower.size(); i += CharLength(lower, i, codePage_)) {
        if (CharLength(lower, i, codePage_) == 1)
            lower[i] = lowerOf_[static_cast<unsigned char>(lower[i])];
    }
    return lower;
}

}  // namespace stlag
