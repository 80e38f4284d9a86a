// count.cpp - the calls the library makes into the platform, counted by name, and the pixels
// they write, read from their own rectangles. Every device call enters the stand-in at a
// generated entry (standin-counted.c, written by tools/device/ce5-imports.cmake) that tells
// standin_count_call about it while counting is on; the entries cost a compare and a jump
// otherwise.
#include "StandInState.h"

#include <commctrl.h>

#include <stdarg.h>
#include <string.h>

#include <vector>

extern "C" {
// Set while counting: read by every generated entry.
volatile long standin_counting = 0;
// The device calls in the generated entries' order, ending with a null.
extern const char* const standin_call_names[];
void standin_count_call(unsigned nCall, void* pReturn, ...);
}

namespace
{
// How a call's pixels are read from its arguments.
enum Pixels
{
    NoPixels,
    CopiedAt3,   // (hdc, x, y, cx, cy, ...): BitBlt, StretchBlt, TransparentImage
    FilledAt3,   // PatBlt
    BlendedAt3,  // AlphaBlend
    FilledRect1, // (hdc, const RECT*, ...): FillRect, DrawFrameControl
    ImageAt5     // ImageList_DrawEx (himl, i, hdc, x, y, dx, dy, ...): 0 is the image's size
};

struct Counts
{
    std::vector<long> calls;
    std::vector<Pixels> kinds;
    long nCopied = 0, nFilled = 0, nBlended = 0;
};

Counts& TheCounts()
{
    static Counts counts;
    if (counts.kinds.empty())
    {
        static const struct
        {
            const char* pszName;
            Pixels kind;
        } kKinds[] = {{"BitBlt", CopiedAt3},         {"StretchBlt", CopiedAt3},
                      {"TransparentImage", CopiedAt3}, {"PatBlt", FilledAt3},
                      {"AlphaBlend", BlendedAt3},    {"FillRect", FilledRect1},
                      {"DrawFrameControl", FilledRect1}, {"ImageList_DrawEx", ImageAt5}};
        for (int i = 0; standin_call_names[i]; ++i)
        {
            Pixels kind = NoPixels;
            for (const auto& k : kKinds)
                if (!strcmp(k.pszName, standin_call_names[i]))
                    kind = k.kind;
            counts.kinds.push_back(kind);
        }
        counts.calls.assign(counts.kinds.size(), 0);
    }
    return counts;
}

long Area(long cx, long cy)
{
    return cx > 0 && cy > 0 ? cx * cy : 0;
}

long RectArea(const RECT* prc)
{
    return prc ? Area(prc->right - prc->left, prc->bottom - prc->top) : 0;
}
} // namespace

// Called by the generated entry of call nCall before the call itself, with the caller's return
// address and the call's arguments after it. Leaves the last error as it found it.
void standin_count_call(unsigned nCall, void* pReturn, ...)
{
    const DWORD dwError = GetLastError();
    if (standin::WatchedCaller(pReturn))
    {
        Counts& counts = TheCounts();
        ++counts.calls[nCall];
        va_list args;
        va_start(args, pReturn);
        DWORD_PTR a[7];
        for (DWORD_PTR& arg : a)
            arg = va_arg(args, DWORD_PTR);
        va_end(args);
        const long cx = static_cast<long>(a[3]), cy = static_cast<long>(a[4]);
        switch (counts.kinds[nCall])
        {
        case CopiedAt3:
            counts.nCopied += Area(cx, cy);
            break;
        case FilledAt3:
            counts.nFilled += Area(cx, cy);
            break;
        case BlendedAt3:
            counts.nBlended += Area(cx, cy);
            break;
        case FilledRect1:
            counts.nFilled += RectArea(reinterpret_cast<const RECT*>(a[1]));
            break;
        case ImageAt5:
        {
            int cxImage = static_cast<int>(a[5]), cyImage = static_cast<int>(a[6]);
            int cxIcon = 0, cyIcon = 0;
            if ((!cxImage || !cyImage) &&
                ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(a[0]), &cxIcon, &cyIcon))
            {
                cxImage = cxImage ? cxImage : cxIcon;
                cyImage = cyImage ? cyImage : cyIcon;
            }
            counts.nCopied += Area(cxImage, cyImage);
            break;
        }
        case NoPixels:
            break;
        }
    }
    SetLastError(dwError);
}

extern "C" {

void StandInCountCalls(BOOL bOn)
{
    Counts& counts = TheCounts();
    if (bOn)
    {
        std::fill(counts.calls.begin(), counts.calls.end(), 0);
        counts.nCopied = counts.nFilled = counts.nBlended = 0;
    }
    standin_counting = bOn ? 1 : 0;
}

const char* StandInCallName(int nIndex)
{
    const Counts& counts = TheCounts();
    return nIndex >= 0 && static_cast<size_t>(nIndex) < counts.calls.size()
               ? standin_call_names[nIndex]
               : nullptr;
}

long StandInCallCount(int nIndex)
{
    const Counts& counts = TheCounts();
    return nIndex >= 0 && static_cast<size_t>(nIndex) < counts.calls.size() ? counts.calls[nIndex]
                                                                            : 0;
}

void StandInPixelCounts(long* pnCopied, long* pnFilled, long* pnBlended)
{
    const Counts& counts = TheCounts();
    if (pnCopied)
        *pnCopied = counts.nCopied;
    if (pnFilled)
        *pnFilled = counts.nFilled;
    if (pnBlended)
        *pnBlended = counts.nBlended;
}

} // extern "C"
