// NavWindow.cpp - the places of the controls' windows in their parents, remembered between
// paints: every paint asks its parent for the background beneath it, and finding the place
// anew (the parent, the window rectangle, two mappings) cost a paint four calls into the system.
#include "win32/NavWindow.h"

namespace nav
{
namespace
{
// A few dozen controls stand on a screen; a place forgotten to make room is found again at the
// next paint.
const int kPlaces = 32;

struct Remembered
{
    HWND hwnd;
    Place place;
};

struct Places
{
    LONG nThread; // the thread they are remembered for; 0 until the first asks
    int iNext;    // the entry given up next when all are taken
    Remembered entries[kPlaces];

    // The entry of hwnd, or null; only on the remembering thread.
    Remembered* Find(HWND hwnd)
    {
        for (int i = 0; i < kPlaces; ++i)
            if (entries[i].hwnd == hwnd)
                return &entries[i];
        return NULL;
    }
    bool OnItsThread()
    {
        const LONG nCurrent = static_cast<LONG>(GetCurrentThreadId());
        if (!nThread)
            InterlockedCompareExchange(&nThread, nCurrent, 0);
        return nThread == nCurrent;
    }
};
Places g_places; // zero-initialised: no thread, every entry empty

Place Found(HWND hwnd, HWND hParent)
{
    Place place;
    place.hParent = hParent;
    SetRect(&place.rcWindow, 0, 0, 0, 0);
    GetWindowRect(hwnd, &place.rcWindow);
    MapWindowPoints(HWND_DESKTOP, hParent, reinterpret_cast<POINT*>(&place.rcWindow), 2);
    place.ptClient.x = 0;
    place.ptClient.y = 0;
    MapWindowPoints(hwnd, hParent, &place.ptClient, 1);
    return place;
}
} // namespace

Place PlaceInParent(HWND hwnd)
{
    const HWND hParent = GetParent(hwnd);
    if (!hwnd || !g_places.OnItsThread())
        return Found(hwnd, hParent);
    Remembered* pEntry = g_places.Find(hwnd);
    if (pEntry && pEntry->place.hParent == hParent)
        return pEntry->place;
    if (!pEntry)
    {
        pEntry = &g_places.entries[g_places.iNext];
        g_places.iNext = (g_places.iNext + 1) % kPlaces;
    }
    pEntry->hwnd = hwnd;
    pEntry->place = Found(hwnd, hParent);
    return pEntry->place;
}

void ForgetPlace(HWND hwnd)
{
    if (!hwnd || g_places.nThread != static_cast<LONG>(GetCurrentThreadId()))
        return;
    if (Remembered* pEntry = g_places.Find(hwnd))
        pEntry->hwnd = NULL;
}
} // namespace nav
