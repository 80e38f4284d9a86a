// NavAlloc.cpp - the library's allocation-failure counter (see NavAlloc.h); the desktop build's
// only.
#include "win32/NavAlloc.h"

#if !defined(_WIN32_WCE)

#include "NavFaults.h"

namespace nav
{
namespace detail
{
FaultCounter g_faults;

bool AllocationGoesAhead()
{
    return g_faults.GoesAhead();
}
} // namespace detail
} // namespace nav

#endif // !_WIN32_WCE
