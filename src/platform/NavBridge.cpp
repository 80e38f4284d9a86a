// NavBridge.cpp - the run-time switch of the desktop bridges (see NavBridge.h).
#include "platform/NavBridge.h"

#if ZNC_DESKTOP_BRIDGES

namespace
{
unsigned g_uBridgesOn = NAV_BRIDGE_ALL;
}

unsigned NavSetBridges(unsigned uOn)
{
    const unsigned uBefore = g_uBridgesOn;
    g_uBridgesOn = uOn & NAV_BRIDGE_ALL;
    return uBefore;
}

namespace nav
{
bool BridgeOn(NavBridge bridge)
{
    return (g_uBridgesOn & bridge) != 0;
}
} // namespace nav

#endif // ZNC_DESKTOP_BRIDGES
