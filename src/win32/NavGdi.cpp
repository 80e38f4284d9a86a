// NavGdi.cpp - the paint buffer the library keeps between paints.
#include "win32/NavGdi.h"

namespace nav
{
namespace
{
// The buffer lent to one paint at a time, on the thread that painted first. Freed when the
// library unloads.
struct KeptBuffer
{
    KeptBuffer() : pBuffer(NULL), nThread(0), bBusy(false) {}
    ~KeptBuffer() { FreeObject(pBuffer); }
    BackBuffer* pBuffer;
    LONG nThread; // the first painting thread's id
    bool bBusy;

    // The kept buffer grown to hold cx x cy, or null when it cannot be lent.
    BackBuffer* Borrow(int cx, int cy)
    {
        const LONG nCurrent = static_cast<LONG>(GetCurrentThreadId());
        if (!nThread)
            InterlockedCompareExchange(&nThread, nCurrent, 0);
        if (nThread != nCurrent || bBusy || cx <= 0 || cy <= 0)
            return NULL;
        const int cxKept = pBuffer && pBuffer->Width() > cx ? pBuffer->Width() : cx;
        const int cyKept = pBuffer && pBuffer->Height() > cy ? pBuffer->Height() : cy;
        if (static_cast<LONGLONG>(cxKept) * cyKept > PaintBuffer::kMaxKeptPixels)
            return NULL;
        if (!pBuffer || cxKept != pBuffer->Width() || cyKept != pBuffer->Height())
        {
            FreeObject(pBuffer);
            // Made like the screen, which every window DC shares.
            pBuffer = NewObject(Type<BackBuffer>(), static_cast<HDC>(NULL), cxKept, cyKept);
            if (pBuffer && !*pBuffer)
            {
                FreeObject(pBuffer);
                pBuffer = NULL;
            }
            if (!pBuffer)
                return NULL;
        }
        bBusy = true;
        return pBuffer;
    }
};
KeptBuffer g_kept;
LONG g_nControlWindows; // the device's Interlocked calls take a plain LPLONG
} // namespace

PaintBuffer::PaintBuffer(HDC hdcTarget, int cx, int cy, HBRUSH hbrFirst)
    : PaintSurface(cx, cy), m_bLent(false), m_nSaved(0), m_pOwn(NULL)
{
    if (BackBuffer* pKept = g_kept.Borrow(cx, cy))
    {
        m_nSaved = SaveDC(pKept->Get());
        if (m_nSaved)
        {
            m_bLent = true;
            m_hdc = pKept->Get();
            IntersectClipRect(m_hdc, 0, 0, cx, cy);
            if (!hbrFirst)
                PatBlt(m_hdc, 0, 0, cx, cy, BLACKNESS); // what a new DIB section holds
        }
        else
        {
            g_kept.bBusy = false;
        }
    }
    if (!m_bLent)
    {
        m_pOwn = NewObject(Type<BackBuffer>(), hdcTarget, cx, cy);
        if (m_pOwn && *m_pOwn)
            m_hdc = m_pOwn->Get();
    }
    const RECT rcAll = {0, 0, cx, cy};
    if (m_hdc && hbrFirst)
        FillRect(m_hdc, &rcAll, hbrFirst);
}

void PaintBuffer::GiveBackKept()
{
    if (g_kept.bBusy || g_kept.nThread != static_cast<LONG>(GetCurrentThreadId()))
        return;
    FreeObject(g_kept.pBuffer);
    g_kept.pBuffer = NULL;
}

void PaintBuffer::ControlWindowIn()
{
    InterlockedIncrement(&g_nControlWindows);
}

void PaintBuffer::ControlWindowOut()
{
    if (InterlockedDecrement(&g_nControlWindows) == 0)
        GiveBackKept();
}

bool PaintBuffer::PutsBackAtEnd(HDC hdc)
{
    return hdc && g_kept.bBusy && g_kept.pBuffer && g_kept.pBuffer->Get() == hdc &&
           g_kept.nThread == static_cast<LONG>(GetCurrentThreadId());
}

PaintBuffer::~PaintBuffer()
{
    if (m_bLent)
    {
        RestoreDC(m_hdc, m_nSaved);
        g_kept.bBusy = false;
    }
    FreeObject(m_pOwn);
}
} // namespace nav
