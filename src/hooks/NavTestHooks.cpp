// NavTestHooks.cpp - the test hooks (see NavTestHooks.h), each a thin door into the state the
// library keeps anyway. Compiled into the desktop build only.
#if !defined(_WIN32_WCE)

#include "hooks/NavTestHooks.h"

#include "combo/ComboTextBuffer.h"
#include "core/NavCore.h"
#include "list/NavScrollBar.h"
#include "platform/NavBridge.h"
#include "platform/NavPlatform.h"
#include "NavFaults.h"
#include "win32/NavAlloc.h"
#include "win32/NavHandle.h"
#include "win32/NavWindow.h"

long NavGdiLiveObjects(void)
{
    return nav::detail::LiveObjects();
}

void NavLoadSharedImages(HINSTANCE hModule)
{
    nav::LoadSharedImages(hModule);
}

void NavReleaseSharedImages(void)
{
    nav::ReleaseSharedImages();
}

HBITMAP NavSharedBarBitmap(void)
{
    return nav::g_hBarBitmap;
}

CxImage* NavSharedFace(BOOL bLarge)
{
    return bLarge ? nav::g_pLargeFace : nav::g_pSmallFace;
}

namespace
{
// The bar object of hwndBar, or null when hwndBar is not a scroll bar of this library.
CNavScrollBar* ScrollBarOf(HWND hwndBar)
{
    if (!IsWindow(hwndBar) || nav::WindowProcOf(hwndBar) != CNavScrollBar::WindowProc)
        return NULL;
    return nav::FindObject(nav::Type<CNavScrollBar>(), hwndBar);
}
} // namespace

int NavScrollBarThumbTop(HWND hwndBar)
{
    CNavScrollBar* pBar = ScrollBarOf(hwndBar);
    return pBar ? pBar->m_nThumbTop : -1;
}

int NavScrollBarPaint(HWND hwndBar, HDC hdc)
{
    CNavScrollBar* pBar = hdc ? ScrollBarOf(hwndBar) : NULL;
    if (!pBar)
        return 0;
    pBar->OnPaintEx(hdc);
    return 1;
}

unsigned NavSetBridges(unsigned uOn)
{
    const unsigned uBefore = nav::g_uBridgesOn;
    nav::g_uBridgesOn = uOn & NAV_BRIDGE_ALL;
    return uBefore;
}

void NavSetDebugHook(NavDebugHook pfnHook, void* pContext)
{
    nav::desktop::g_standIns.pfnDebugHook = pfnHook;
    nav::desktop::g_standIns.pDebugHookContext = pContext;
}

void NavSipSimulate(DWORD dwFlags, BOOL bQueryFails)
{
    nav::desktop::StandIns& standIns = nav::desktop::g_standIns;
    standIns.dwSipFlags = dwFlags;
    standIns.bSipQueryFails = bQueryFails;
    standIns.nSipShowCount = 0;
    standIns.dwSipLastShow = 0;
}

int NavSipShowCount(void)
{
    return nav::desktop::g_standIns.nSipShowCount;
}

DWORD NavSipLastShowFlag(void)
{
    return nav::desktop::g_standIns.dwSipLastShow;
}

void NavFailAllocations(long nFail, BOOL bFromThenOn)
{
    nav::detail::g_faults.Arm(nFail, bFromThenOn);
}

long NavAllocationCount(void)
{
    return nav::detail::g_faults.Count();
}

void NavComboFailTextBuffers(BOOL bFail)
{
    nav::combo::g_bFailTextBuffers = bFail != FALSE;
}

#endif // !_WIN32_WCE
