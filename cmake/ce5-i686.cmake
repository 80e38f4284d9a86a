# The device check build for i686 (tools/device-check.sh): MinGW-w64's i686 gcc compiles the
# library as it is configured for Windows CE 5.0, against the desktop headers narrowed to the
# device's reference (tools/device/ce5.h), and links the two DLLs against import libraries made
# from tools/device/ce5-surface.txt alone. The DLLs are not for the device; the link is the check.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZNC_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
set(CMAKE_DLLTOOL ${ZNC_TRIPLET}-dlltool)
set(ZNC_DEVICE_CHECK ON)
