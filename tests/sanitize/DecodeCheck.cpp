// The corpus run of the PNG path, built natively under the sanitizers by tools/sanitize.sh:
//   decode-check [--artwork] FILE...
// Each file must satisfy CheckDecode (CheckDecode.h) within a second; each line shows its
// answer, size, largest request, peak held and time. With --artwork every file must load, and
// load exactly as the decoder's own RGBA premultiplied pixel by pixel.
#include "CheckDecode.h"

#include <stb_image.h>

#include <chrono>
#include <cstring>
#include <vector>

namespace
{
std::vector<unsigned char> ReadAll(const char* pszPath)
{
    std::vector<unsigned char> bytes;
    FILE* f = std::fopen(pszPath, "rb");
    if (!f)
        Fail("cannot be read", pszPath);
    unsigned char buf[65536];
    for (size_t n; (n = std::fread(buf, 1, sizeof(buf), f)) > 0;)
        bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    return bytes;
}

// The artwork as the decoder gives it, premultiplied as the image class always has.
void CompareWithDecoder(const std::vector<unsigned char>& bytes, const DecodeOutcome& o,
                        const char* pszPath)
{
    int cx = 0, cy = 0, n = 0;
    unsigned char* pRgba =
        stbi_load_from_memory(bytes.data(), int(bytes.size()), &cx, &cy, &n, 4);
    if (!pRgba || unsigned(cx) != o.cx || unsigned(cy) != o.cy)
        Fail("the decoder alone answers otherwise", pszPath);
    unsigned sum = 0;
    for (int i = 0; i < cx * cy; ++i)
    {
        const unsigned char* q = pRgba + 4 * i;
        const unsigned a = q[3];
        const unsigned pixel = (a << 24) | ((q[0] * a + 127) / 255) << 16 |
                               ((q[1] * a + 127) / 255) << 8 | ((q[2] * a + 127) / 255);
        sum = sum * 31 + pixel;
    }
    stbi_image_free(pRgba);
    if (sum != o.nChecksum)
        Fail("pixels differ from the decoder's own", pszPath);
}
} // namespace

int main(int argc, char** argv)
{
    bool bArtwork = false;
    int nFiles = 0;
    std::printf("%-28s %6s %11s %16s %14s %8s\n", "file", "answer", "size", "largest request",
                "peak held", "ms");
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--artwork") == 0)
        {
            bArtwork = true;
            continue;
        }
        const std::vector<unsigned char> bytes = ReadAll(argv[i]);
        const auto t0 = std::chrono::steady_clock::now();
        const DecodeOutcome o = CheckDecode(bytes.data(), bytes.size(), argv[i]);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count();
        const char* pszName = std::strrchr(argv[i], '/') ? std::strrchr(argv[i], '/') + 1 : argv[i];
        char size[32];
        std::snprintf(size, sizeof(size), "%ux%u", o.cx, o.cy);
        std::printf("%-28s %6d %11s %16zu %14zu %8.1f\n", pszName, o.nAnswer,
                    o.nAnswer ? size : "-", o.stats.cbLargestRequest, o.stats.cbPeak, ms);
        if (ms > 1000)
            Fail("took more than a second", argv[i]);
        if (bArtwork)
        {
            if (!o.nAnswer)
                Fail("artwork does not load", argv[i]);
            CompareWithDecoder(bytes, o, argv[i]);
        }
        ++nFiles;
    }
    std::printf("%d files: each answered 0 or loaded within the budget with every pixel "
                "defined; nothing held afterwards.\n",
                nFiles);
    return nFiles ? 0 : 1;
}
