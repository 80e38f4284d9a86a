// StaticCoopRecord.h - what the cooperating test library saw, kept in named shared memory so
// that it outlives the library (the label unloads it right after the call).
#pragma once

#include <windows.h>

#define STATIC_COOP_RECORD_NAME L"ZorNavStaticCoopRecord"

struct StaticCoopRecord
{
    LONG nCalls;
    wchar_t szData[1024]; // first argument, copied up to its terminator (or 1023 characters)
    int nDataLength;      // its length as the library measured it
    wchar_t szExtra[16];  // second argument
    int nReserved;        // third argument
    BOOL bTaskBarVisible; // whether the "HHTaskBar" window was visible during the call
    HWND hwndTell;        // when set, hears STATIC_COOP_CALLED during the call
};

// Sent to hwndTell while the library runs: what the cooperating application does then (close
// the screen that launched it, say) happens inside the label's call.
#define STATIC_COOP_CALLED (WM_APP + 0x51)
