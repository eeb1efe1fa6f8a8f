#include "program_folder.h"

#include <array>
#include <map>

#include "ansi_text.h"

namespace stlag {
namespace {

// Simple lower-case mapping for the scripts that the single-byte ANSI code pages carry:
// Latin, Greek and Cyrillic.
char16_t LowerUnit(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F)
            return c;
        if (c == 0x178)
            return 0xFF;
        // Upper and lower case alternate; the capital comes first on an odd code in
        // the two runs that a lone lower-case letter shifts.
        const bool capitalOnOdd = (c >= 0x139 && c <= 0x148) || c >= 0x179;
        const bool isCapital = (c % 2 == 1) == capitalOnOdd;
        return isCapital ? static_cast<char16_t>(c + 1) : c;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F)
        return static_cast<char16_t>(c + 0x50);
    if (c >= 0x410 && c <= 0x42F)
        return static_cast<char16_t>(c + 0x20);
    if (c == 0x490)
        return 0x491;
    return c;
}

}  // namespace

std::string LowerInCodePage(const std::string& text, const CodePage& codePage)
{
    // Which byte stands for which character, for every single-byte character of the page.
    std::array<char16_t, 256> unitOf{};
    std::array<bool, 256> single{};
    std::map<char16_t, unsigned char> byteOf;
    for (unsigned b = 1; b < 256; ++b) {
        if (codePage.IsLeadByte(static_cast<unsigned char>(b)))
            continue;
        const std::u16string wide = codePage.ToWide(std::string(1, static_cast<char>(b)));
        if (wide.size() != 1)
            continue;
        single[b] = true;
        unitOf[b] = wide[0];
        byteOf.emplace(wide[0], static_cast<unsigned char>(b));
    }

    std::string lower = text;
    for (std::size_t i = 0; i < lower.size(); i += CharLength(lower, i, codePage)) {
        const unsigned char b = static_cast<unsigned char>(lower[i]);
        if (CharLength(lower, i, codePage) != 1 || !single[b])
            continue;
        const char16_t wanted = LowerUnit(unitOf[b]);
        if (wanted == unitOf[b])
            continue;
        const auto found = byteOf.find(wanted);
        if (found != byteOf.end())
            lower[i] = static_cast<char>(found->second);
    }
    return lower;
}

std::string ProgramFolderFromModulePath(const std::string& modulePath, const CodePage& codePage)
{
    // Walked character by character: a trail byte may have the value of a backslash.
    std::size_t end = 0;
    for (std::size_t i = 0; i < modulePath.size(); i += CharLength(modulePath, i, codePage)) {
        if (modulePath[i] == '\\' && CharLength(modulePath, i, codePage) == 1)
            end = i + 1;
    }
    return LowerInCodePage(modulePath.substr(0, end), codePage);
}

}  // namespace stlag
