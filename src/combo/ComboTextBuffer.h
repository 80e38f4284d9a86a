// ComboTextBuffer.h - the buffer an item's text is fetched into, and its test hook.
#pragma once

#include "NavCommon.h"

#include <stdint.h>
#include <stdlib.h>

#if !defined(_WIN32_WCE)
// Test hook (desktop build only): while set, every item-text buffer fails to allocate.
extern "C" ZNC_API void NavComboFailTextBuffers(BOOL bFail);
#endif

namespace nav
{
namespace combo
{
bool TextBuffersFail();

// A buffer of nChars + 1 wide characters, freed when it goes out of scope. Get() is null
// when it could not be allocated (or the size would overflow).
class TextBuffer
{
public:
    explicit TextBuffer(int nChars)
    {
        if (nChars < 0 || static_cast<size_t>(nChars) >= SIZE_MAX / sizeof(wchar_t) - 1 ||
            TextBuffersFail())
            return;
        m_p = static_cast<wchar_t*>(malloc((static_cast<size_t>(nChars) + 1) * sizeof(wchar_t)));
        if (m_p)
            m_p[0] = L'\0';
    }
    ~TextBuffer() { free(m_p); }
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;
    wchar_t* Get() const { return m_p; }

private:
    wchar_t* m_p = nullptr;
};
} // namespace combo
} // namespace nav
