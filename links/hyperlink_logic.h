// The hyperlink control's decisions that need no window: which colour its text gets and
// where it goes when it is fitted to its text.
#ifndef STLAG_HYPERLINK_LOGIC_H
#define STLAG_HYPERLINK_LOGIC_H

#include <cstdint>

namespace stlag {

// Laid out as a Win32 COLORREF: red in the low byte, then green, then blue.
using LinkColor = std::uint32_t;
constexpr LinkColor MakeLinkColor(unsigned red, unsigned green, unsigned blue)
{
    return static_cast<LinkColor>(red | (green << 8) | (blue << 16));
}

constexpr LinkColor linkColor = MakeLinkColor(0, 0, 255);
constexpr LinkColor focusColor = MakeLinkColor(0, 128, 128);
constexpr LinkColor visitedColor = MakeLinkColor(128, 0, 128);

LinkColor ChooseTextColor(bool hasFocus, bool visited);

// Style bits of a static control that decide how it is fitted.
constexpr std::uint32_t kStaticCenter = 0x1;
constexpr std::uint32_t kStaticRight = 0x2;
constexpr std::uint32_t kStaticCenterImage = 0x200;

struct PlainRect {
    long left;
    long top;
    long right;
    long bottom;
};

// Where MoveWindow puts a control: its top left corner in the parent, and its outer size.
struct Placement {
    long x;
    long y;
    long width;
    long height;
};

// window: the control's outer rectangle in its parent's client coordinates; client: its
// client rectangle; text extent cx x cy; style: the control's window style.
Placement FitToText(const PlainRect& window, const PlainRect& client, long cx, long cy, std::uint32_t style);

}  // namespace stlag

#endif
