// ComboTextBuffer.h - the buffer an item's text is fetched into.
#pragma once

#include "NavCommon.h"
#include "win32/NavAlloc.h"
#include "win32/NavHandle.h"

#include <stdlib.h>

namespace nav
{
namespace combo
{
// A buffer of nChars + 1 wide characters, freed when it goes out of scope. Get() is null
// when it could not be allocated (or the size would overflow).
class TextBuffer : public UniqueHandle<wchar_t*, FreeText>
{
public:
    explicit TextBuffer(int nChars) : UniqueHandle<wchar_t*, FreeText>(Allocate(nChars)) {}

private:
    static wchar_t* Allocate(int nChars)
    {
        const size_t nMaxChars = static_cast<size_t>(-1) / sizeof(wchar_t) - 1;
        if (nChars < 0 || static_cast<size_t>(nChars) >= nMaxChars)
            return NULL;
        wchar_t* p =
            static_cast<wchar_t*>(AllocBlock((static_cast<size_t>(nChars) + 1) * sizeof(wchar_t)));
        if (p)
            p[0] = L'\0';
        return p;
    }
};
} // namespace combo
} // namespace nav
