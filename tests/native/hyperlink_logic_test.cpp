#include "hyperlink_logic.h"

#include <gtest/gtest.h>

namespace stlag {
namespace {

TEST(LinkColors, AreTheCOLORREFsOfBlueTealPurpleAndRed)
{
    EXPECT_EQ(linkColor, 0xFF0000u);
    EXPECT_EQ(focusColor, 0x808000u);
    EXPECT_EQ(visitedColor, 0x800080u);
    EXPECT_EQ(hoverColor, 0x0000FFu);
}

struct ColorCase {
    bool pointerOver;
    bool hasFocus;
    bool visited;
    std::uint32_t options;
    LinkColor expected;
};

constexpr std::uint32_t kHover = HLO_DEFAULT | HLO_HOVERCOLOR;
constexpr std::uint32_t kNoFocus = HLO_DEFAULT | HLO_NOFOCUSCOLOR;
constexpr std::uint32_t kBoth = HLO_DEFAULT | HLO_HOVERCOLOR | HLO_NOFOCUSCOLOR;

// Every combination of the three states under the four settings of the two colour options.
const ColorCase kColorCases[] = {
    {false, false, false, HLO_DEFAULT, linkColor},
    {false, false, true, HLO_DEFAULT, visitedColor},
    {false, true, false, HLO_DEFAULT, focusColor},
    {false, true, true, HLO_DEFAULT, focusColor},
    {true, false, false, HLO_DEFAULT, linkColor},
    {true, false, true, HLO_DEFAULT, visitedColor},
    {true, true, false, HLO_DEFAULT, focusColor},
    {true, true, true, HLO_DEFAULT, focusColor},

    {false, false, false, kHover, linkColor},
    {false, false, true, kHover, visitedColor},
    {false, true, false, kHover, focusColor},
    {false, true, true, kHover, focusColor},
    {true, false, false, kHover, hoverColor},
    {true, false, true, kHover, hoverColor},
    {true, true, false, kHover, hoverColor},
    {true, true, true, kHover, hoverColor},

    {false, false, false, kNoFocus, linkColor},
    {false, false, true, kNoFocus, visitedColor},
    {false, true, false, kNoFocus, linkColor},
    {false, true, true, kNoFocus, visitedColor},
    {true, false, false, kNoFocus, linkColor},
    {true, false, true, kNoFocus, visitedColor},
    {true, true, false, kNoFocus, linkColor},
    {true, true, true, kNoFocus, visitedColor},

    {false, false, false, kBoth, linkColor},
    {false, false, true, kBoth, visitedColor},
    {false, true, false, kBoth, linkColor},
    {false, true, true, kBoth, visitedColor},
    {true, false, false, kBoth, hoverColor},
    {true, false, true, kBoth, hoverColor},
    {true, true, false, kBoth, hoverColor},
    {true, true, true, kBoth, hoverColor},
};

TEST(ChooseTextColor, FirstRuleThatHoldsWinsForEveryStateCombination)
{
    for (const ColorCase& c : kColorCases) {
        SCOPED_TRACE(testing::Message() << "pointerOver " << c.pointerOver << " hasFocus " << c.hasFocus
                                        << " visited " << c.visited << " options 0x" << std::hex << c.options);
        EXPECT_EQ(ChooseTextColor(c.pointerOver, c.hasFocus, c.visited, c.options), c.expected);
    }
}

TEST(ChooseTextColor, OptionBitsOtherThanTheColourOnesChangeNothing)
{
    EXPECT_EQ(ChooseTextColor(false, false, true, 0), visitedColor);
    EXPECT_EQ(ChooseTextColor(true, true, false, HLO_FOLLOWONPRESS | HLO_NOHANDCURSOR), focusColor);
}

TEST(HloDefault, IsUnderlineFitAndFocusOnClick)
{
    EXPECT_EQ(HLO_DEFAULT, 0x15u);
}

// A borderless 80 x 13 control at (100, 40) and a text extent of 50 x 10.
const PlainRect kWindow{100, 40, 180, 53};
const PlainRect kClient{0, 0, 80, 13};

void ExpectPlacement(const Placement& p, long x, long y, long width, long height)
{
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.width, width);
    EXPECT_EQ(p.height, height);
}

TEST(FitToText, LeftAlignedKeepsItsLeftEdge)
{
    ExpectPlacement(FitToText(kWindow, kClient, 50, 10, 0x50020000), 100, 40, 50, 10);
}

TEST(FitToText, CentredTakesFifteenFromEachSide)
{
    ExpectPlacement(FitToText(kWindow, kClient, 50, 10, 0x50020001), 115, 40, 50, 10);
}

TEST(FitToText, RightAlignedKeepsItsRightEdge)
{
    ExpectPlacement(FitToText(kWindow, kClient, 50, 10, 0x50020002), 130, 40, 50, 10);
}

TEST(FitToText, CentreImageTakesOneFromTopAndBottom)
{
    ExpectPlacement(FitToText(kWindow, kClient, 50, 10, 0x50020200), 100, 41, 50, 11);
    ExpectPlacement(FitToText(kWindow, kClient, 50, 10, 0x50020201), 115, 41, 50, 11);
}

TEST(FitToText, LeftAlignedWithoutWordWrapFitsToTheLeft)
{
    // The About box's web and mail links: SS_LEFTNOWORDWRAP | SS_NOTIFY.
    ExpectPlacement(FitToText(kWindow, kClient, 50, 10, 0x5002010C), 100, 40, 50, 10);
}

TEST(FitToText, BordersAreAddedBackToTheFittedText)
{
    // A 2-pixel border on each side: outer 84 x 17 around a client area of 80 x 13.
    const PlainRect window{10, 20, 94, 37};
    ExpectPlacement(FitToText(window, kClient, 50, 10, 0), 10, 20, 54, 14);
    // Right-aligned: the text's width is taken from the outer right edge and the border
    // added on, so the control ends up reaching 4 past its old right edge.
    ExpectPlacement(FitToText(window, kClient, 50, 10, 2), 44, 20, 54, 14);
}

TEST(FitToText, AnOddRemainderLeavesOneUnitMore)
{
    // (80 - 51) / 2 = 14 from each side leaves 52; (13 - 8) / 2 = 2 leaves 9.
    ExpectPlacement(FitToText(kWindow, kClient, 51, 8, 0x201), 114, 42, 52, 9);
}

TEST(FitToText, TextWiderThanTheControlMakesItGrow)
{
    ExpectPlacement(FitToText(kWindow, kClient, 120, 16, 0), 100, 40, 120, 16);
    ExpectPlacement(FitToText(kWindow, kClient, 120, 10, 2), 60, 40, 120, 10);
    // -40 / 2 truncates toward zero: 20 added on each side.
    ExpectPlacement(FitToText(kWindow, kClient, 120, 10, 1), 80, 40, 120, 10);
    // (13 - 16) / 2 is -1, not -2.
    ExpectPlacement(FitToText(kWindow, kClient, 50, 16, 0x200), 100, 39, 50, 15);
}

}  // namespace
}  // namespace stlag
