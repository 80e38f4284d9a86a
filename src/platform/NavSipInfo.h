// NavSipInfo.h - the soft input panel's state record and its flags, laid out as the device's
// sipapi.h lays them out (48 bytes on the 32-bit target). The desktop, which has no such
// header, takes them from here; so does the compile check that stands in for the device SDK.
#pragma once

#include <windows.h>

#ifndef SIPF_OFF
#define SIPF_OFF 0x00000000
#define SIPF_ON 0x00000001
#endif

typedef struct tagSIPINFO
{
    DWORD cbSize;
    DWORD fdwFlags;
    RECT rcVisibleDesktop;
    RECT rcSipRect;
    DWORD dwImDataSize;
    void* pvImData;
} SIPINFO;
