// What a screen reader is told of a link control, and how it follows the link: an accessible
// object with role link, the shown text as its name, the target as its value and "Öppna" as
// its default action, which opens the link as a click does. Place, parent, focus and the
// rest are the system's own object for the control's client area.
#ifndef STLAG_LINK_ACCESSIBLE_H
#define STLAG_LINK_ACCESSIBLE_H

#include <windows.h>

namespace stlag {

class CHyperLink;
class LinkAccessible;

// Posted to the link control to follow the link: the default action must not wait for an
// error box that the launch may show.
constexpr UINT kFollowLinkMessage = WM_APP + 0x4C;

// A link control's one accessible object: made at the first request, cut off from the
// control when it goes; a client that still holds it then learns that it is gone.
class LinkAccessibility {
public:
    LinkAccessibility() = default;
    LinkAccessibility(const LinkAccessibility&) = delete;
    LinkAccessibility& operator=(const LinkAccessibility&) = delete;
    ~LinkAccessibility() { Disconnect(); }

    // WM_GETOBJECT's answer for the client area: 0 when the object cannot be made.
    LRESULT Answer(const CHyperLink& link, WPARAM flags);
    void Disconnect();

private:
    LinkAccessible* object_ = nullptr;
    // The object is handed over through COM's marshalling, which needs COM on the
    // control's thread for as long as the object is out.
    bool comStarted_ = false;
};

}  // namespace stlag

#endif
