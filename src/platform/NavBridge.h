// NavBridge.h - the desktop bridges.
//
// The library is made for the device; desktop Windows, and Wine standing in for it, differ
// from the device in a few ways the controls rely on. Each such difference is bridged in the
// desktop build only: the code of a bridge sits inside `#if ZNC_DESKTOP_BRIDGES`, which is 0 in
// the device build, so the device gets exactly the behaviour the controls are designed for.
// The README's bridge table says, for each bridge, why the desktop needs it and what the
// device does instead. In the desktop build each bridge can be switched off at run time, so
// that a test can show what goes wrong without it.
#pragma once

#include "NavCommon.h"

#if defined(_WIN32_WCE)
#define ZNC_DESKTOP_BRIDGES 0
#else
#define ZNC_DESKTOP_BRIDGES 1
#endif

#if ZNC_DESKTOP_BRIDGES

// One bit per bridge.
enum NavBridge
{
    // The native list is made without LVS_NOSCROLL, which stops every kind of scrolling on the
    // desktop; the bit is added behind its back, its own scroll bars are stripped before they
    // take room, and style changes that only touch those bits stay unheard.
    NAV_BRIDGE_LIST_SCROLLING = 0x0001,
    // The list's window region leaves out the part under its scroll bar: desktop child windows
    // paint over an overlapping sibling.
    NAV_BRIDGE_LIST_REGION = 0x0002,
    // Resource bitmaps (and the check/radio image list) are loaded as DIB sections, as the
    // device keeps them; the desktop converts them to device bitmaps (slowly, and for an image
    // list in 16 colours).
    NAV_BRIDGE_DIB_BITMAPS = 0x0004,
    // The native static paints itself at once on a new text, enable state or font, over the
    // label: such messages reach it with redraw off, and the label repaints itself.
    NAV_BRIDGE_LABEL_QUIET = 0x0008,
    // The native static is transparent to taps without SS_NOTIFY: a label that takes taps,
    // and the list's scroll bar (a static too), answer the hit test themselves.
    NAV_BRIDGE_LABEL_HITTEST = 0x0010,
    // The native edit leaves a clip region on the DC of its paint; the DC is saved around it.
    NAV_BRIDGE_EDIT_CLIP = 0x0020,
    // WM_SETFONT resets an edit's margins; they are put back after it.
    NAV_BRIDGE_EDIT_MARGINS = 0x0040,
    // A pen-down on the combo's edit takes the focus, which closes the open list before the
    // pen-up arrives: the combo remembers that the list was open at the press.
    NAV_BRIDGE_COMBO_PRESS = 0x0080,
    // A registry key opened with access 0 cannot be read on the desktop: read access is asked.
    NAV_BRIDGE_REGISTRY_ACCESS = 0x0100,
    NAV_BRIDGE_ALL = 0x01FF
};

namespace nav
{
// The bridges switched on: all of them, unless a test switched some off (NavSetBridges).
extern unsigned g_uBridgesOn;

// Whether a bridge is on (always, outside tests).
inline bool BridgeOn(NavBridge bridge)
{
    return (g_uBridgesOn & bridge) != 0;
}
} // namespace nav

#endif // ZNC_DESKTOP_BRIDGES
