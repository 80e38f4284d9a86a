// NavHandle.h - one owner for every handle the library makes (NavOwner.h) and the closers of
// the handles besides GDI's (NavDib.h): an image list, a registry key, a menu, a library, a text, a
// window's DC.
#pragma once

#include "NavCommon.h"
#include "NavDib.h"
#include "NavOwner.h"

#include <stdlib.h>

namespace nav
{
// Closers of the other handles the library makes, one call each.
struct CloseImageList
{
    void operator()(HIMAGELIST h) const { ImageList_Destroy(h); }
};
struct CloseRegKey
{
    void operator()(HKEY h) const { RegCloseKey(h); }
};
struct CloseMenu
{
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct CloseLibrary
{
    void operator()(HMODULE h) const { FreeLibrary(h); }
};
struct FreeText
{
    void operator()(wchar_t* p) const { free(p); }
};
struct CloseWindowDC
{
    explicit CloseWindowDC(HWND hwndOwner = NULL) : hwnd(hwndOwner) {}
    void operator()(HDC h) const { ReleaseDC(hwnd, h); }
    HWND hwnd;
};

// The owners the library keeps besides those of GDI (NavGdi.h): a registry key, a popup menu
// and a loaded library. The platform counts none of them as GDI objects, so neither do we.
typedef UniqueHandle<HKEY, CloseRegKey> RegKey;
typedef UniqueHandle<HMENU, CloseMenu> PopupMenu;
typedef UniqueHandle<HMODULE, CloseLibrary> Library;
} // namespace nav
