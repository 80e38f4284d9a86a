// dbgapi.h - stand-in for the device SDK's debug header, used only by the device-configured
// compile check.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C"
#endif
void WINAPIV NKDbgPrintfW(LPCWSTR lpszFmt, ...);
