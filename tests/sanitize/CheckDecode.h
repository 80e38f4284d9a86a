// CheckDecode.h - what every input of the PNG path must satisfy, for the corpus run and the
// fuzzing run alike: it answers 0, or it loads within the budget with every pixel defined;
// either way nothing stays held and no block above the cap was granted.
#pragma once

#include "ImgBlendAlloc.h"
#include "PngDecode.h"

#include <cstdio>
#include <cstdlib>

#if defined(__has_feature)
#if __has_feature(memory_sanitizer)
#include <sanitizer/msan_interface.h>
#define ZNC_CHECK_DEFINED(p, cb) __msan_check_mem_is_initialized(p, cb)
#endif
#endif
#ifndef ZNC_CHECK_DEFINED
#define ZNC_CHECK_DEFINED(p, cb) ((void)0)
#endif

// What a load may hold at once (the README's "Low memory" gives the same figure): the
// compressed data and the inflated rows, or the inflated rows and the image.
constexpr size_t kPeakBound = 2 * IMGBLEND_MAX_REQUEST;

struct DecodeOutcome
{
    int nAnswer;
    unsigned cx, cy;
    unsigned nChecksum;
    ImgBlendHeapStats stats;
};

[[noreturn]] inline void Fail(const char* pszWhat, const char* pszInput)
{
    std::fprintf(stderr, "FAILED: %s: %s\n", pszInput, pszWhat);
    std::abort();
}

inline DecodeOutcome CheckDecode(const unsigned char* p, size_t cb, const char* pszInput)
{
    DecodeOutcome o = {};
    ImgBlendResetHeapStats();
    ImgBlendHeapStats before;
    ImgBlendGetHeapStats(&before);
    unsigned int* pPixels = nullptr;
    o.nAnswer = ImgBlendDecodePng(p, cb, &pPixels, &o.cx, &o.cy);
    if (o.nAnswer)
    {
        if (!pPixels || o.cx == 0 || o.cy == 0 || o.cx > IMGBLEND_MAX_SIDE ||
            o.cy > IMGBLEND_MAX_SIDE || size_t(o.cx) * o.cy > IMGBLEND_MAX_PIXELS)
            Fail("loaded outside the budget", pszInput);
        const size_t n = size_t(o.cx) * o.cy;
        ZNC_CHECK_DEFINED(pPixels, n * sizeof(*pPixels));
        unsigned sum = 0;
        for (size_t i = 0; i < n; ++i)
        {
            // Premultiplied: no colour above its alpha.
            const unsigned a = pPixels[i] >> 24;
            if (((pPixels[i] >> 16) & 255) > a || ((pPixels[i] >> 8) & 255) > a ||
                (pPixels[i] & 255) > a)
                Fail("a colour above its alpha", pszInput);
            sum = sum * 31 + pPixels[i];
        }
        o.nChecksum = sum;
        ImgBlendFree(pPixels);
    }
    ImgBlendGetHeapStats(&o.stats);
    if (o.stats.cbHeld != before.cbHeld)
        Fail("memory still held after the load", pszInput);
    if (o.stats.cbPeak - before.cbHeld > kPeakBound)
        Fail("held more than the bound at once", pszInput);
    return o;
}
