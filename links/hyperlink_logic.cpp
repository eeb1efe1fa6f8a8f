#include "hyperlink_logic.h"

namespace stlag {

LinkColor ChooseTextColor(bool hasFocus, bool visited)
{
    if (hasFocus)
        return focusColor;
    if (visited)
        return visitedColor;
    return linkColor;
}

Placement FitToText(const PlainRect& window, const PlainRect& client, long cx, long cy, std::uint32_t style)
{
    PlainRect w = window;
    const long borderWidth = (w.right - w.left) - (client.right - client.left);
    const long borderHeight = (w.bottom - w.top) - (client.bottom - client.top);

    if ((style & kStaticCenterImage) != 0) {
        const long d = (w.bottom - w.top - cy) / 2;
        w.top += d;
        w.bottom -= d;
    } else {
        w.bottom = w.top + cy;
    }

    if ((style & kStaticCenter) != 0) {
        const long d = (w.right - w.left - cx) / 2;
        w.left += d;
        w.right -= d;
    } else if ((style & kStaticRight) != 0) {
        w.left = w.right - cx;
    } else {
        w.right = w.left + cx;
    }

    return Placement{w.left, w.top, (w.right - w.left) + borderWidth, (w.bottom - w.top) + borderHeight};
}

}  // namespace stlag
