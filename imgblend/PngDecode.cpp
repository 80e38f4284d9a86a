// PngDecode.cpp - the checks before decoding, the decoder (stb_image), premultiplying.
//
// Before the decoder sees a byte, the chunks are walked: every declared length must fit in
// the bytes left and every CRC must match, so a truncated or corrupted resource answers 0
// instead of decoding to wrong pixels, and a length that claims gigabytes is never asked
// for. The header's size is held to the budget there; while decoding, the allocation point
// holds every request to it, which stops decompression bombs after at most that much work.
// A palette image whose palette has fewer entries than its bit depth can index is decoded
// from a copy whose palette is padded with opaque black, so that no index reads past it.
#include "PngDecode.h"

#include "ImgBlendAlloc.h"
#include "NavOwner.h"

#include <string.h>

#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#include <stb_image.h>

namespace
{
// A block of the allocation point: a padded copy of the file, or the decoder's pixels (the
// decoder allocates and frees through the same point).
struct FreeBlock
{
    void operator()(unsigned char* p) const { ImgBlendFree(p); }
};
typedef nav::UniqueHandle<unsigned char*, FreeBlock> Block;

const char kSignature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};
const size_t kChunkFrame = 12; // length, type, CRC
const unsigned int kColorPalette = 3;

unsigned int ReadBe32(const unsigned char* p)
{
    return (static_cast<unsigned int>(p[0]) << 24) | (static_cast<unsigned int>(p[1]) << 16) |
           (static_cast<unsigned int>(p[2]) << 8) | static_cast<unsigned int>(p[3]);
}

void WriteBe32(unsigned char* p, unsigned int n)
{
    p[0] = static_cast<unsigned char>(n >> 24);
    p[1] = static_cast<unsigned char>(n >> 16);
    p[2] = static_cast<unsigned char>(n >> 8);
    p[3] = static_cast<unsigned char>(n);
}

// Whether cb bytes at p are those of pExpected (the device's run time has no memcmp).
bool SameBytes(const unsigned char* p, const char* pExpected, size_t cb)
{
    for (size_t i = 0; i < cb; ++i)
        if (p[i] != static_cast<unsigned char>(pExpected[i]))
            return false;
    return true;
}

bool IsType(const unsigned char* p, const char* pszType)
{
    return SameBytes(p, pszType, 4);
}

// The CRC-32 of PNG chunks (polynomial 0xEDB88320), four bits at a time.
unsigned int Crc32(const unsigned char* p, size_t cb)
{
    static const unsigned int kNibble[16] = {
        0x00000000, 0x1DB71064, 0x3B6E20C8, 0x26D930AC, 0x76DC4190, 0x6B6B51F4,
        0x4DB26158, 0x5005713C, 0xEDB88320, 0xF00F9344, 0xD6D6A3E8, 0xCB61B38C,
        0x9B64C2B0, 0x86D3D2D4, 0xA00AE278, 0xBDBDF21C};
    unsigned int crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < cb; ++i)
    {
        crc ^= p[i];
        crc = (crc >> 4) ^ kNibble[crc & 15];
        crc = (crc >> 4) ^ kNibble[crc & 15];
    }
    return crc ^ 0xFFFFFFFFu;
}

// What the walk over the chunks learnt.
struct PngLayout
{
    size_t cbPng;          // up to the end of IEND
    unsigned int cx, cy;
    unsigned int nDepth, nColor;
    size_t offPalette;     // the PLTE chunk, 0 when there is none
    unsigned int nPaletteBytes;
};

// Walks the chunks: IHDR first and within the budget, each length within the bytes left,
// each CRC right, the image data within half a request, up to IEND.
bool WalkChunks(const unsigned char* p, size_t cb, PngLayout* pLayout)
{
    if (cb < sizeof(kSignature) || !SameBytes(p, kSignature, sizeof(kSignature)))
        return false;
    memset(pLayout, 0, sizeof(*pLayout));
    size_t off = sizeof(kSignature);
    size_t cbImageData = 0;
    for (bool bFirst = true;; bFirst = false)
    {
        if (cb - off < kChunkFrame)
            return false;
        const size_t cbChunk = ReadBe32(p + off);
        if (cbChunk > cb - off - kChunkFrame)
            return false;
        const unsigned char* pType = p + off + 4;
        if (Crc32(pType, 4 + cbChunk) != ReadBe32(pType + 4 + cbChunk))
            return false;
        const unsigned char* pBody = pType + 4;
        if (bFirst)
        {
            if (!IsType(pType, "IHDR") || cbChunk != 13)
                return false;
            pLayout->cx = ReadBe32(pBody);
            pLayout->cy = ReadBe32(pBody + 4);
            pLayout->nDepth = pBody[8];
            pLayout->nColor = pBody[9];
            if (pLayout->cx == 0 || pLayout->cy == 0 || pLayout->cx > IMGBLEND_MAX_SIDE ||
                pLayout->cy > IMGBLEND_MAX_SIDE ||
                pLayout->cx * pLayout->cy > IMGBLEND_MAX_PIXELS)
                return false;
        }
        else if (IsType(pType, "PLTE"))
        {
            if (pLayout->offPalette != 0)
                return false; // one palette only: a second could index past the first
            pLayout->offPalette = off;
            pLayout->nPaletteBytes = static_cast<unsigned int>(cbChunk);
        }
        else if (IsType(pType, "IDAT"))
        {
            // Half the cap: more than an image of the budget stored without compression,
            // and the decoder gathers it into one block that grows by doubling.
            cbImageData += cbChunk;
            if (cbImageData > IMGBLEND_MAX_REQUEST / 2)
                return false;
        }
        off += kChunkFrame + cbChunk;
        if (IsType(pType, "IEND"))
        {
            pLayout->cbPng = off;
            return true;
        }
    }
}

// A copy of a palette image whose palette has every entry its depth can index (the missing
// ones black; the decoder makes palette entries opaque); null when there is no room.
unsigned char* PadPalette(const unsigned char* p, const PngLayout& layout, size_t* pcbCopy)
{
    const unsigned int cbFull = 3u << layout.nDepth;
    const size_t offAfter = layout.offPalette + kChunkFrame + layout.nPaletteBytes;
    const size_t cbCopy = layout.cbPng + (cbFull - layout.nPaletteBytes);
    unsigned char* pCopy = static_cast<unsigned char*>(ImgBlendMalloc(cbCopy));
    if (!pCopy)
        return NULL;
    // Zeroed by the allocation point: the padding is there already.
    unsigned char* pPlte = pCopy + layout.offPalette;
    memcpy(pCopy, p, layout.offPalette);
    memcpy(pPlte, p + layout.offPalette, 8 + layout.nPaletteBytes);
    WriteBe32(pPlte, cbFull);
    WriteBe32(pPlte + 8 + cbFull, Crc32(pPlte + 4, 4 + cbFull));
    memcpy(pPlte + kChunkFrame + cbFull, p + offAfter, layout.cbPng - offAfter);
    *pcbCopy = cbCopy;
    return pCopy;
}

// RGBA bytes to 0xAARRGGBB premultiplied, in the same place.
void PremultiplyInPlace(unsigned char* pRgba, size_t nPixels)
{
    for (size_t i = 0; i < nPixels; ++i)
    {
        unsigned char* p = pRgba + 4 * i;
        const unsigned int a = p[3];
        const unsigned int r = (p[0] * a + 127) / 255;
        const unsigned int g = (p[1] * a + 127) / 255;
        const unsigned int b = (p[2] * a + 127) / 255;
        const unsigned int pixel = (a << 24) | (r << 16) | (g << 8) | b;
        memcpy(p, &pixel, sizeof(pixel));
    }
}
} // namespace

int ImgBlendDecodePng(const unsigned char* pData, size_t cbData, unsigned int** ppPixels,
                      unsigned int* pcx, unsigned int* pcy)
{
    PngLayout layout;
    if (!pData || !WalkChunks(pData, cbData, &layout))
        return 0;

    const unsigned char* pPng = pData;
    size_t cbPng = layout.cbPng;
    Block padded;
    if (layout.nColor == kColorPalette && layout.offPalette != 0 && layout.nDepth <= 8 &&
        layout.nPaletteBytes != 0 && layout.nPaletteBytes % 3 == 0 &&
        layout.nPaletteBytes < (3u << layout.nDepth))
    {
        padded.Attach(PadPalette(pData, layout, &cbPng));
        if (!padded)
            return 0;
        pPng = padded;
    }
    if (cbPng > 0x7FFFFFFF)
        return 0;

    int cx = 0, cy = 0, nChannels = 0;
    Block rgba(stbi_load_from_memory(pPng, static_cast<int>(cbPng), &cx, &cy, &nChannels, 4));
    padded.Attach(NULL);
    if (!rgba)
        return 0;
    if (static_cast<unsigned int>(cx) != layout.cx || static_cast<unsigned int>(cy) != layout.cy)
        return 0;
    PremultiplyInPlace(rgba, static_cast<size_t>(layout.cx) * layout.cy);
    *ppPixels = reinterpret_cast<unsigned int*>(rgba.Detach());
    *pcx = layout.cx;
    *pcy = layout.cy;
    return 1;
}
