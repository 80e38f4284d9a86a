// NavBridge.cpp - the run-time switch of the desktop bridges (see NavBridge.h).
#include "platform/NavBridge.h"

#if ZNC_DESKTOP_BRIDGES

namespace nav
{
unsigned g_uBridgesOn = NAV_BRIDGE_ALL;
} // namespace nav

#endif // ZNC_DESKTOP_BRIDGES
