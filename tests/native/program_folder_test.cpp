#include "program_folder.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace stlag {
namespace {

// Code page 1252: Latin-1 except for the letters and signs it puts in 0x80-0x9F.
class Cp1252CodePage : public CodePage {
public:
    bool IsLeadByte(unsigned char) const override { return false; }
    std::u16string ToWide(const std::string& ansi) const override
    {
        std::u16string wide;
        for (char c : ansi) {
            const unsigned char b = static_cast<unsigned char>(c);
            switch (b) {
            case 0x8A: wide += u'\u0160'; break;
            case 0x8C: wide += u'\u0152'; break;
            case 0x8E: wide += u'\u017D'; break;
            case 0x9A: wide += u'\u0161'; break;
            case 0x9C: wide += u'\u0153'; break;
            case 0x9E: wide += u'\u017E'; break;
            case 0x9F: wide += u'\u0178'; break;
            default: wide += static_cast<char16_t>(b); break;
            }
        }
        return wide;
    }
};

// Code page 1251: the Cyrillic capitals А-Я at 0xC0-0xDF, small letters 0x20 above.
class Cp1251CodePage : public CodePage {
public:
    bool IsLeadByte(unsigned char) const override { return false; }
    std::u16string ToWide(const std::string& ansi) const override
    {
        std::u16string wide;
        for (char c : ansi) {
            const unsigned char b = static_cast<unsigned char>(c);
            wide += b >= 0xC0 ? static_cast<char16_t>(0x410 + (b - 0xC0)) : static_cast<char16_t>(b);
        }
        return wide;
    }
};

TEST(ProgramFolderFromModulePath, FolderWithItsBackslashInLowerCase)
{
    EXPECT_EQ(ProgramFolderFromModulePath("C:\\Program Files\\Tools\\stlag.exe", Cp1252CodePage()),
              "c:\\program files\\tools\\");
}

TEST(ProgramFolderFromModulePath, RootOfADrive)
{
    EXPECT_EQ(ProgramFolderFromModulePath("D:\\stlag.exe", Cp1252CodePage()), "d:\\");
}

TEST(ProgramFolderFromModulePath, NoBackslashMeansNoFolder)
{
    EXPECT_EQ(ProgramFolderFromModulePath("stlag.exe", Cp1252CodePage()), "");
    EXPECT_EQ(ProgramFolderFromModulePath("", Cp1252CodePage()), "");
}

TEST(ProgramFolderFromModulePath, NetworkPathKeepsEverythingUpToTheLastBackslash)
{
    EXPECT_EQ(ProgramFolderFromModulePath("\\\\Server\\Share\\STLAG.EXE", Cp1252CodePage()),
              "\\\\server\\share\\");
}

TEST(ProgramFolderFromModulePath, SwedishLettersAreLoweredToo)
{
    // "C:\Program\FÖRETAG ÅÄ\stlag.exe" in code page 1252.
    EXPECT_EQ(ProgramFolderFromModulePath("C:\\Program\\F\xD6RETAG \xC5\xC4\\stlag.exe", Cp1252CodePage()),
              "c:\\program\\f\xF6retag \xE5\xE4\\");
}

TEST(LowerInCodePage, FollowsTheCodePageOutsideLatin1)
{
    // Š, Œ, Ž and Ÿ lie at 0x8A, 0x8C, 0x8E and 0x9F in 1252; their small letters elsewhere.
    EXPECT_EQ(LowerInCodePage("\x8A\x8C\x8E\x9F", Cp1252CodePage()), "\x9A\x9C\x9E\xFF");
    // The multiplication sign and ß have no lower-case partner.
    EXPECT_EQ(LowerInCodePage("\xD7\xDF", Cp1252CodePage()), "\xD7\xDF");
    // Cyrillic ДИР in 1251.
    EXPECT_EQ(LowerInCodePage("\xC4\xC8\xD0", Cp1251CodePage()), "\xE4\xE8\xF0");
}

TEST(ProgramFolderFromModulePath, TrailByteThatLooksLikeABackslashIsNoFolderEnd)
{
    // 0x95 0x5C is one double-byte character whose second byte has the backslash's value.
    EXPECT_EQ(ProgramFolderFromModulePath("C:\\Dir\\\x95\x5C.exe", ShiftJisCodePage()), "c:\\dir\\");
    EXPECT_EQ(ProgramFolderFromModulePath("C:\\Dir\\\x95\x5C\\x.exe", ShiftJisCodePage()), "c:\\dir\\\x95\x5C\\");
}

TEST(ProgramFolderFromModulePath, DoubleByteCharactersAreNotLowered)
{
    // 0x83 0x41 is one character; its second byte has the value of 'A'.
    EXPECT_EQ(ProgramFolderFromModulePath("C:\\\x83\x41X\\x.exe", ShiftJisCodePage()), "c:\\\x83\x41x\\");
}

}  // namespace
}  // namespace stlag
