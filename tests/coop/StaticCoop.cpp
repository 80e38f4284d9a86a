// StaticCoop.cpp - a cooperating application's library for the label tests: its export
// records the arguments it was called with into shared memory the test holds open.
#include "StaticCoopRecord.h"

#include <wchar.h>

namespace
{
// Copies at most cchMax - 1 characters and terminates.
int CopyText(wchar_t* pszTo, int cchMax, const wchar_t* pszFrom)
{
    int n = 0;
    if (pszFrom)
        for (; n < cchMax - 1 && pszFrom[n]; ++n)
            pszTo[n] = pszFrom[n];
    pszTo[n] = L'\0';
    return pszFrom ? static_cast<int>(wcslen(pszFrom)) : -1;
}
} // namespace

// The entry a registry "FuncName" names: (text, extra, reserved).
extern "C" __declspec(dllexport) int CoopOpen(wchar_t* pszData, wchar_t* pszExtra, int nReserved)
{
    HANDLE hMap = OpenFileMappingW(FILE_MAP_WRITE, FALSE, STATIC_COOP_RECORD_NAME);
    if (!hMap)
        return 0;
    StaticCoopRecord* pRecord = static_cast<StaticCoopRecord*>(
        MapViewOfFile(hMap, FILE_MAP_WRITE, 0, 0, sizeof(StaticCoopRecord)));
    if (pRecord)
    {
        ++pRecord->nCalls;
        pRecord->nDataLength = CopyText(pRecord->szData, 1024, pszData);
        CopyText(pRecord->szExtra, 16, pszExtra);
        pRecord->nReserved = nReserved;
        HWND hTaskBar = FindWindowW(L"HHTaskBar", nullptr);
        pRecord->bTaskBarVisible = hTaskBar && IsWindowVisible(hTaskBar);
        const HWND hwndTell = pRecord->hwndTell;
        UnmapViewOfFile(pRecord);
        if (hwndTell)
            SendMessageW(hwndTell, STATIC_COOP_CALLED, 0, 0);
    }
    CloseHandle(hMap);
    return 1;
}
