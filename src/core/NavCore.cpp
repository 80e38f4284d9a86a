// NavCore.cpp - entry point, module handle and the images several controls share.
#include "core/NavCore.h"

#include "CxImage.h"
#include "platform/NavPlatform.h"
#include "win32/NavAlloc.h"
#include "resource.h"

namespace
{
HINSTANCE g_hModule;

// Makes one shared face: an image object that may stay empty when its PNG does not decode.
CxImage* LoadFace(HINSTANCE hModule, WORD wResId)
{
    CxImage* pFace = nav::NewObject(nav::Type<CxImage>());
    if (pFace)
        pFace->LoadPNGFromResource(hModule, wResId);
    return pFace;
}

void FreeFace(CxImage*& pFace)
{
    nav::FreeObject(pFace);
    pFace = NULL;
}
} // namespace

namespace nav
{
HBITMAP g_hBarBitmap;
CxImage* g_pSmallFace;
CxImage* g_pLargeFace;
} // namespace nav

HINSTANCE GetModuleInstance(void)
{
    return g_hModule;
}

namespace nav
{
void LoadSharedImages(HINSTANCE hModule)
{
    if (!g_hBarBitmap)
        g_hBarBitmap = LoadBitmapResource(hModule, IDB_LIST_BAR);
    if (!g_pSmallFace)
        g_pSmallFace = LoadFace(hModule, IDP_FACES_SMALL);
    if (!g_pLargeFace)
        g_pLargeFace = LoadFace(hModule, IDP_FACES_LARGE);
}

void ReleaseSharedImages()
{
    if (g_pSmallFace)
        FreeFace(g_pSmallFace);
    if (g_pLargeFace)
        FreeFace(g_pLargeFace);
    if (g_hBarBitmap)
    {
        DeleteObject(g_hBarBitmap);
        g_hBarBitmap = NULL;
    }
}
} // namespace nav

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*pReserved*/)
{
    g_hModule = hInstance;
    switch (dwReason)
    {
    case DLL_PROCESS_ATTACH:
        nav::ReleaseSharedImages();
        nav::LoadSharedImages(hInstance);
        break;
    case DLL_PROCESS_DETACH:
        nav::ReleaseSharedImages();
        break;
    default:
        break;
    }
    return TRUE;
}
