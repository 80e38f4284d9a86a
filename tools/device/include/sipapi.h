// sipapi.h - stand-in for the device SDK's header of the soft input panel (aygshell/coredll),
// used only by the device-configured compile check.
#pragma once
#include <windows.h>

// The record and flags, laid out as the SDK lays them out: the same header the desktop build
// declares them in.
#include "platform/NavSipInfo.h"

#ifdef __cplusplus
extern "C"
#endif
BOOL WINAPI SipGetInfo(SIPINFO* pSipInfo);
#ifdef __cplusplus
extern "C"
#endif
BOOL WINAPI SipShowIM(DWORD dwFlag);
