// The fuzzing target of the PNG path (libFuzzer; tools/sanitize.sh runs it for a bounded time
// from the library's artwork). Each input is checked as it is, and again with the CRC of every
// chunk that fits made right: nearly every mutation breaks a CRC, and the copy lets those
// mutations reach the decoder.
#include "CheckDecode.h"

#include <vector>

namespace
{
unsigned Crc32(const unsigned char* p, size_t n)
{
    unsigned crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i)
    {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* p, size_t cb)
{
    CheckDecode(p, cb, "fuzzed input");
    std::vector<unsigned char> fixed(p, p + cb);
    for (size_t off = 8; cb >= 8 && cb - off >= 12;)
    {
        unsigned char* q = fixed.data() + off;
        const size_t n = size_t(q[0]) << 24 | size_t(q[1]) << 16 | size_t(q[2]) << 8 | q[3];
        if (n > cb - off - 12)
            break;
        const unsigned crc = Crc32(q + 4, 4 + n);
        for (int i = 0; i < 4; ++i)
            q[8 + n + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
        off += 12 + n;
    }
    CheckDecode(fixed.data(), fixed.size(), "fuzzed input, CRCs made right");
    return 0;
}
