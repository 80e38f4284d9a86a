// NavTestHooks.cpp - the test seam (see NavTestHooks.h), each a thin door into the state the
// library keeps anyway. Compiled into the DLLs built for the tests and benchmarks only.
#if defined(ZNC_TEST_SEAM)

#include "hooks/NavTestHooks.h"

#include "core/NavCore.h"
#include "list/NavScrollBar.h"
#include "win32/NavWindow.h"

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

#endif // ZNC_TEST_SEAM
