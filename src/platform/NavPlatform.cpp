// NavPlatform.cpp - the library's resource loaders (see NavPlatform.h).
#include "platform/NavPlatform.h"

namespace nav
{
HBITMAP LoadBitmapResource(HINSTANCE hModule, WORD wResId)
{
    return LoadBitmapW(hModule, MAKEINTRESOURCEW(wResId));
}

HIMAGELIST LoadImageListResource(HINSTANCE hModule, WORD wResId, int cx, COLORREF crMask)
{
    return ImageList_LoadImageW(hModule, MAKEINTRESOURCEW(wResId), cx, 0, crMask, IMAGE_BITMAP, 0);
}
} // namespace nav
