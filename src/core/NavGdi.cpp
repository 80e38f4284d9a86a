// NavGdi.cpp - the live-object count behind the GDI owners.
#include "core/NavGdi.h"

namespace
{
LONG g_nLive; // plain LONG: the device's Interlocked calls take LPLONG
}

namespace nav
{
namespace detail
{
void CountAcquire(const void* h)
{
    if (h)
        InterlockedIncrement(&g_nLive);
}

void CountRelease(const void* h)
{
    if (h)
        InterlockedDecrement(&g_nLive);
}
} // namespace detail
} // namespace nav

long NavGdiLiveObjects(void)
{
    return g_nLive;
}
