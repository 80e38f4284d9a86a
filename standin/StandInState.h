// StandInState.h - what the stand-in's pieces share: who called, the ledger, the allocation
// failures and the emulations switched on.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "StandIn.h"

namespace standin
{
// The module whose code made the call that returned to pReturn; null for other modules.
// Only ZorNavCtrl.dll and imgblend.dll are watched: the programs around them (tests, the
// gallery) call the desktop's own DLLs and are neither counted nor failed.
HMODULE WatchedCaller(void* pReturn);

// Counts one allocating call named pszCall of the module behind pReturn; false when a test
// made it fail (the last error then says there was not enough memory).
bool Allocates(void* pReturn, const wchar_t* pszCall);

// The ledger: a handle obtained by a watched module, and one given back (or handed over).
void Track(void* pReturn, const void* h);
void Untrack(const void* h);

// Which of the emulations asked about are on; whether one is.
unsigned Emulated(unsigned uEmulations);
inline bool Emulates(unsigned uEmulation)
{
    return Emulated(uEmulation) != 0;
}

// The window emulations of a native control just made (emulate.cpp).
void EmulateNativeControl(HWND hwnd, LPCWSTR pszClass, DWORD dwStyle);
// Whether a list view made with dwStyle must be made without LVS_NOSCROLL first.
bool MakesListWithoutNoScroll(LPCWSTR pszClass, DWORD dwStyle);

// The resource loaders that keep a bitmap's format (resources.cpp).
HBITMAP CopyBitmapResource(HINSTANCE hModule, LPCWSTR pszName);
HIMAGELIST CopyImageListResource(HINSTANCE hModule, LPCWSTR pszName, int cx, COLORREF crMask);
} // namespace standin

// The address a stand-in body returns to: the caller's code.
#define STANDIN_CALLER() __builtin_return_address(0)

namespace standin
{
// An allocating call named pszCall: counted and failed as a test asks (null then), otherwise
// made, and what it made tracked in the ledger.
template <class H, class Make> H Obtain(void* pReturn, const wchar_t* pszCall, Make make)
{
    if (!Allocates(pReturn, pszCall))
        return H();
    const H h = make();
    Track(pReturn, h);
    return h;
}
} // namespace standin
