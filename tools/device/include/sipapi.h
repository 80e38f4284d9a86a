// sipapi.h - stand-in for the device SDK's header of the soft input panel (aygshell/coredll),
// used only by the device-configured compile check.
#pragma once
#include <windows.h>

// The record and flags, laid out as the SDK lays them out (48 bytes on the 32-bit device).
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

#ifdef __cplusplus
extern "C"
#endif
BOOL WINAPI SipGetInfo(SIPINFO* pSipInfo);
#ifdef __cplusplus
extern "C"
#endif
BOOL WINAPI SipShowIM(DWORD dwFlag);
