// NavCore.h - the library's module-wide state: its module handle and the shared images.
#pragma once

#include "NavCommon.h"

class CxImage;

// The module handle recorded by the latest DllMain call; controls load their artwork from it.
extern "C" ZNC_API HINSTANCE GetModuleInstance(void);

namespace nav
{
// Shared for the life of the library; loaded at process attach, freed at process detach.
// Controls read them and never free them; any of them may be null (and an image empty) when
// loading failed.
extern HBITMAP g_hBarBitmap;   // selection bar, bitmap 102
extern CxImage* g_pSmallFace;  // button faces 78 x 50, PNG 131
extern CxImage* g_pLargeFace;  // button faces 106 x 50, PNG 111

// The load and release steps of the entry point. LoadSharedImages fills each shared image that
// is still empty from hModule; ReleaseSharedImages frees whatever exists and leaves all three
// null.
void LoadSharedImages(HINSTANCE hModule);
void ReleaseSharedImages();
} // namespace nav
