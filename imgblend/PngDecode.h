// PngDecode.h - PNG bytes to premultiplied 32-bit pixels within the image library's budget
// (ImgBlendAlloc.h). No platform calls: the native checks of the decoder build it as it is.
#pragma once

#include <stddef.h>

// Decodes the PNG in pData[0..cbData) into *ppPixels: *pcx x *pcy pixels, top-down, each
// 0xAARRGGBB with the colour premultiplied by its alpha, in one block to be given back with
// ImgBlendFree. Answers 1, or 0 with nothing held and the outputs untouched when the data is
// not a whole PNG (a chunk longer than the bytes left, a chunk whose CRC does not match, no
// IEND), is over the budget (more than IMGBLEND_MAX_PIXELS pixels or IMGBLEND_MAX_SIDE a side,
// a request above IMGBLEND_MAX_REQUEST while decoding) or does not decode.
int ImgBlendDecodePng(const unsigned char* pData, size_t cbData, unsigned int** ppPixels,
                      unsigned int* pcx, unsigned int* pcy);
