// NavPlatform.h - the device services the controls use (coredll, aygshell), and the library's
// resource loaders (NavGdi.h, where the artwork kept between paints loads through them). On the
// desktop the stand-in of the device's platform (standin/) provides the same calls.
#pragma once

#include "NavCommon.h"
#include "win32/NavGdi.h" // LoadBitmapResource, LoadImageListResource

#include <dbgapi.h> // NKDbgPrintfW
#include <sipapi.h> // SipGetInfo, SipShowIM
// TransparentImage and GetProcAddressW come with the device's windows.h.
