// NavFaults.h - the allocation-failure counter of one DLL. Every place a DLL obtains a resource
// (a DC, bitmap, font, pen, brush, region, image list, resource, window, timer, heap block,
// registry key, library, menu) asks its counter first; a test can make the Nth such point fail,
// or every point from the Nth on, and see that nothing crashes, leaks or stays broken. Plain
// Win32 and header-only, so that each DLL keeps a counter of its own (the image library, a
// lower DLL, cannot reach the controls' one). The device builds never consult it.
#pragma once

#include <windows.h>

namespace nav
{
class FaultCounter
{
public:
    // Starts counting again from 0. nFail 0 fails nothing; nFail N fails the Nth point from
    // now, and with bFromThenOn every point after it too.
    void Arm(long nFail, BOOL bFromThenOn)
    {
        m_nCount = 0;
        m_nFail = nFail;
        m_bFromThenOn = bFromThenOn;
    }
    // Counts one point; false when it must fail (the last error then says there was not
    // enough memory, as the platform's own failures do).
    bool GoesAhead()
    {
        ++m_nCount;
        const bool bFails = m_nFail > 0 && (m_nCount == m_nFail ||
                                            (m_bFromThenOn && m_nCount > m_nFail));
        if (bFails)
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return !bFails;
    }
    // Points counted since the last Arm.
    long Count() const { return m_nCount; }

private:
    // No constructor: the DLL's one instance is a global, zero (failing nothing) before any
    // code runs.
    long m_nCount;
    long m_nFail;
    BOOL m_bFromThenOn;
};
} // namespace nav
